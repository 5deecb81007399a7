#include "Norma43Reader.h"

#include "platform/runtime/DateValue.h"
#include "platform/runtime/Format.h"
#include "platform/runtime/Text.h"

#include <algorithm>
#include <optional>

namespace arc {
namespace {

constexpr size_t kRecordLength = 80;

// The names of the common concept codes, for a movement without concept lines.
const wchar_t* CommonConcept(int code) {
    switch (code) {
        case 1: return L"Talones/reintegros";
        case 2: return L"Abonarés/entregas/ingresos";
        case 3: return L"Domiciliados/recibos/letras/pagos por su cuenta";
        case 4: return L"Giros/transferencias/traspasos/cheques";
        case 5: return L"Amortizaciones de préstamos, créditos";
        case 6: return L"Remesas de efectos";
        case 7: return L"Suscripciones/dividendos/venta de derechos";
        case 8: return L"Dividendos/cupones/amortización de valores";
        case 9: return L"Operaciones de valores";
        case 10: return L"Cheques gasolina";
        case 11: return L"Cajeros automáticos";
        case 12: return L"Tarjetas de crédito/débito";
        case 13: return L"Operaciones con el extranjero";
        case 14: return L"Devoluciones e impagados";
        case 15: return L"Nóminas/seguros sociales";
        case 16: return L"Timbres/corretaje/póliza";
        case 17: return L"Intereses/comisiones/custodia/gastos e impuestos";
        case 98: return L"Anulaciones/correcciones de asiento";
        case 99: return L"Varios";
    }
    return L"Movimiento";
}

void JoinWord(std::wstring& text, const std::wstring& part) {
    if (part.empty()) return;
    if (!text.empty()) text += L' ';
    text += part;
}

// One record: its line number and its 80 characters; fields by the 1-based
// positions of the format sheet.
class Record {
public:
    Record(int line, std::wstring text) : line_(line), text_(std::move(text)) {}
    int Line() const { return line_; }
    const std::wstring& Text() const { return text_; }
    std::wstring Type() const { return text_.substr(0, 2); }
    std::wstring Field(size_t from, size_t length) const { return text_.substr(from - 1, length); }

    [[noreturn]] void Fail(const std::wstring& what) const { throw StatementError(line_, what); }

    std::int64_t Number(size_t from, size_t length, const wchar_t* what) const {
        const std::wstring digits = Field(from, length);
        std::int64_t n = 0;
        for (wchar_t c : digits) {
            if (c < L'0' || c > L'9')
                Fail(std::wstring(what) + L" (posiciones " + std::to_wstring(from) + L" a " +
                     std::to_wstring(from + length - 1) + L") no es un número: «" + digits + L"».");
            n = n * 10 + (c - L'0');
        }
        return n;
    }

    // YYMMDD; years 00-79 are 2000-2079, 80-99 are 1980-1999.
    double Date(size_t from, const wchar_t* what) const {
        const std::wstring text = Field(from, 6);
        bool digits = text.find_first_not_of(L"0123456789") == std::wstring::npos;
        int yy = digits ? std::stoi(text.substr(0, 2)) : 0, mm = digits ? std::stoi(text.substr(2, 2)) : 0,
            dd = digits ? std::stoi(text.substr(4, 2)) : 0;
        int year = yy < 80 ? 2000 + yy : 1900 + yy;
        if (!digits || !IsValidDate(year, mm, dd))
            Fail(std::wstring(what) + L" (posiciones " + std::to_wstring(from) + L" a " + std::to_wstring(from + 5) +
                 L") no es una fecha AAMMDD: «" + text + L"».");
        return DateSerial(year, mm, dd);
    }

    // 1 debit (negative), 2 credit (positive).
    int Sign(size_t at, const wchar_t* what) const {
        const wchar_t c = text_[at - 1];
        if (c != L'1' && c != L'2')
            Fail(std::wstring(what) + L" (posición " + std::to_wstring(at) +
                 L") debe ser 1 (cargo) o 2 (abono), y es «" + std::wstring(1, c) + L"».");
        return c == L'1' ? -1 : 1;
    }

private:
    int line_;
    std::wstring text_;
};

// The records of the text: blank lines skipped, lines padded to 80; a line
// longer than 80 characters is refused unless what passes 80 is blank.
std::vector<Record> Records(const std::wstring& text) {
    std::vector<Record> records;
    int number = 0;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find(L'\n', at);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(at, end - at);
        at = end + 1;
        ++number;
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        // Old programs end a file with Ctrl+Z.
        if (!line.empty() && line.back() == 0x1A && at >= text.size()) line.pop_back();
        if (line.find_first_not_of(L" \t") == std::wstring::npos) continue;
        if (line.size() > kRecordLength) {
            if (line.find_first_not_of(L' ', kRecordLength) != std::wstring::npos)
                throw StatementError(number, L"la línea tiene " + std::to_wstring(line.size()) +
                                                 L" caracteres; un registro de la Norma 43 tiene 80.");
            line.resize(kRecordLength);
        }
        line.resize(kRecordLength, L' ');
        records.emplace_back(number, std::move(line));
    }
    return records;
}

std::wstring AccountKey(const Record& r) { return r.Field(3, 4) + L" " + r.Field(7, 4) + L" " + r.Field(11, 10); }

std::wstring Count(std::int64_t n, const wchar_t* one, const wchar_t* many) {
    return std::to_wstring(n) + L" " + (n == 1 ? one : many);
}

// One account being read, from its 11 to its 33.
struct OpenAccount {
    AccountStatement statement;
    std::vector<std::string> lineKeys;
    std::string records;  // every record of the account, for its fingerprint
    std::wstring key;
    std::wstring pendingConcept;  // the 23 lines of the last movement
    bool movementOpen = false;
    std::wstring fallbackConcept;
};

void CloseMovement(OpenAccount& a) {
    if (!a.movementOpen) return;
    a.statement.movements.back().wording = a.pendingConcept.empty() ? a.fallbackConcept : a.pendingConcept;
    a.pendingConcept.clear();
    a.movementOpen = false;
}

void CheckTotals(const OpenAccount& a, const Record& r, const Regional& regional) {
    const AccountStatement& s = a.statement;
    if (AccountKey(r) != a.key)
        r.Fail(L"el registro final es de la cuenta " + AccountKey(r) + L" y la cabecera de la línea " +
               std::to_wstring(s.line) + L" es de la cuenta " + a.key + L".");
    const std::int64_t debitCount = r.Number(21, 5, L"el número de cargos");
    const std::int64_t debits = r.Number(26, 14, L"el total de cargos");
    const std::int64_t creditCount = r.Number(40, 5, L"el número de abonos");
    const std::int64_t credits = r.Number(45, 14, L"el total de abonos");
    const int sign = r.Sign(59, L"el signo del saldo final");
    const std::int64_t finalCents = sign * r.Number(60, 14, L"el saldo final");
    auto totals = [&](const wchar_t* one, const wchar_t* many, std::int64_t count, std::int64_t total,
                      size_t realCount, std::int64_t realTotal) {
        const auto real = static_cast<std::int64_t>(realCount);
        if (count == real && total == realTotal) return;
        r.Fail(L"el banco dice " + Count(count, one, many) + L" que suman " + CentsText(total, regional) +
               L", y los movimientos de la cuenta son " + Count(real, one, many) + L" que suman " +
               CentsText(realTotal, regional) + L".");
    };
    totals(L"cargo", L"cargos", debitCount, debits, s.DebitCount(), s.Debits());
    totals(L"abono", L"abonos", creditCount, credits, s.CreditCount(), s.Credits());
    const std::int64_t expected = *s.initialCents + credits - debits;
    if (expected != finalCents)
        r.Fail(L"el saldo inicial " + CentsText(*s.initialCents, regional) + L" más los abonos " +
               CentsText(credits, regional) + L" menos los cargos " + CentsText(debits, regional) + L" dan " +
               CentsText(expected, regional) + L", pero el saldo final del banco es " +
               CentsText(finalCents, regional) + L".");
}

}  // namespace

bool LooksLikeNorma43(const std::wstring& text) {
    // The first account header: "11", then bank, branch, account and the
    // period's two dates, 30 digits in all; a 00 header may stand before it.
    std::wstring first, second;
    for (size_t at = 0; at < text.size() && second.empty();) {
        size_t end = std::min(text.find(L'\n', at), text.size());
        std::wstring line = text.substr(at, end - at);
        at = end + 1;
        if (line.find_first_not_of(L" \t\r\xFEFF") == std::wstring::npos) continue;
        (first.empty() ? first : second) = line;
        if (!first.starts_with(L"00")) break;
    }
    const std::wstring& header = first.starts_with(L"00") ? second : first;
    return header.size() >= 32 && header.starts_with(L"11") &&
           header.find_first_not_of(L"0123456789", 2) >= 32;
}

std::vector<AccountStatement> ReadNorma43(const std::wstring& text, const Regional& regional) {
    const std::vector<Record> records = Records(text);
    std::vector<AccountStatement> accounts;
    std::optional<OpenAccount> open;
    size_t counted = 0;  // records between the 00 header and the 88
    bool ended = false;
    for (size_t i = 0; i < records.size(); ++i) {
        const Record& r = records[i];
        const std::wstring type = r.Type();
        if (ended) r.Fail(L"hay registros después del registro de fin de archivo (88).");
        if (type != L"00" && type != L"88") ++counted;
        if (open && type != L"00" && type != L"88") open->records += ToUtf8(r.Text()) + "\n";
        if (type == L"00") {
            if (i != 0) r.Fail(L"el registro de cabecera de archivo (00) solo puede ir en la primera línea.");
        } else if (type == L"11") {
            if (open)
                r.Fail(L"empieza otra cuenta sin el registro final (33) de la cuenta de la línea " +
                       std::to_wstring(open->statement.line) + L".");
            open.emplace();
            AccountStatement& s = open->statement;
            s.format = StatementFormat::Norma43;
            s.line = r.Line();
            s.bank = r.Field(3, 4);
            s.branch = r.Field(7, 4);
            s.account = r.Field(11, 10);
            s.firstDate = r.Date(21, L"la fecha inicial del período");
            s.lastDate = r.Date(27, L"la fecha final del período");
            const int sign = r.Sign(33, L"el signo del saldo inicial");
            s.initialCents = sign * r.Number(34, 14, L"el saldo inicial");
            s.currency = r.Field(48, 3);
            s.holder = Trim(r.Field(52, 26));
            open->key = AccountKey(r);
            open->records = ToUtf8(r.Text()) + "\n";
        } else if (type == L"22") {
            if (!open) r.Fail(L"un movimiento (22) sin cabecera de cuenta (11) antes.");
            CloseMovement(*open);
            BankMovement m;
            m.line = r.Line();
            m.date = r.Date(11, L"la fecha de operación");
            r.Date(17, L"la fecha valor");
            const int common = static_cast<int>(r.Number(23, 2, L"el concepto común"));
            const int sign = r.Sign(28, L"el signo del importe");
            m.cents = sign * r.Number(29, 14, L"el importe");
            open->fallbackConcept = CommonConcept(common);
            JoinWord(open->fallbackConcept, Trim(r.Field(53, 12)));
            JoinWord(open->fallbackConcept, Trim(r.Field(65, 16)));
            open->statement.movements.push_back(std::move(m));
            open->lineKeys.push_back("N43|" + ToUtf8(open->key) + "|" + ToUtf8(r.Text()));
            open->movementOpen = true;
        } else if (type == L"23") {
            if (!open || !open->movementOpen) r.Fail(L"una línea de concepto (23) sin movimiento (22) antes.");
            JoinWord(open->pendingConcept, Trim(r.Field(5, 38)));
            JoinWord(open->pendingConcept, Trim(r.Field(43, 38)));
        } else if (type == L"24") {
            if (!open || !open->movementOpen) r.Fail(L"una equivalencia de divisa (24) sin movimiento (22) antes.");
        } else if (type == L"33") {
            if (!open) r.Fail(L"un registro final de cuenta (33) sin cabecera de cuenta (11) antes.");
            CloseMovement(*open);
            CheckTotals(*open, r, regional);
            AccountStatement& s = open->statement;
            s.finalCents = *s.initialCents + s.Credits() - s.Debits();
            AssignFingerprints(s.movements, open->lineKeys);
            s.fingerprint = TextFingerprint(open->records);
            SortByDate(s.movements);
            accounts.push_back(std::move(s));
            open.reset();
        } else if (type == L"88") {
            if (open)
                r.Fail(L"el archivo termina sin el registro final (33) de la cuenta de la línea " +
                       std::to_wstring(open->statement.line) + L".");
            const std::int64_t said = r.Number(21, 6, L"el número de registros");
            if (said != static_cast<std::int64_t>(counted))
                r.Fail(L"el registro de fin de archivo cuenta " + std::to_wstring(said) +
                       L" registros y el archivo tiene " + std::to_wstring(counted) + L".");
            ended = true;
        } else {
            r.Fail(L"«" + type + L"» no es un tipo de registro de la Norma 43 (00, 11, 22, 23, 24, 33 u 88).");
        }
    }
    if (open)
        throw StatementError(0, L"El archivo termina sin el registro final (33) de la cuenta de la línea " +
                                    std::to_wstring(open->statement.line) + L": puede estar incompleto.");
    if (accounts.empty()) throw StatementError(0, L"El archivo no tiene ninguna cuenta (registro 11).");
    return accounts;
}

}  // namespace arc
