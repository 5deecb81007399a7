#include "LedgerGenerator.h"

#include "platform/data/Statement.h"
#include "platform/runtime/DateValue.h"
#include "platform/runtime/Text.h"

#include <sqlite3.h>

#include <cstring>
#include <random>
#include <string>

namespace arc::bench {
namespace {

using data::Statement;

const char* const kWords[] = {
    "PAGO",     "DE",        "LUZ",      "AGUA",      "OFRENDA",   "DIEZMO",   "COMPRA",   "MATERIAL",
    "LIMPIEZA", "ALQUILER",  "SALÓN",    "DONACIÓN",  "CUOTA",     "SOCIOS",   "MES",      "ENERO",
    "FEBRERO",  "MARZO",     "ABRIL",    "MAYO",      "JUNIO",     "JULIO",    "AGOSTO",   "OCTUBRE",
    "TELÉFONO", "INTERNET",  "REPARACIÓN", "TECHO",   "SILLAS",    "BANCO",    "COMISIÓN", "TRANSPORTE",
    "CAFÉ",     "REUNIÓN",   "JÓVENES",  "PAPELERÍA", "IMPRESIÓN", "FOLLETOS", "SEGURO",   "ANUAL",
    "ACTIVIDAD", "BENÉFICA", "VENTA",    "RIFA",      "COLECTA",   "ESPECIAL", "MÚSICA",   "SONIDO",
};
constexpr size_t kWordCount = sizeof kWords / sizeof kWords[0];

// An upper-case description of exactly the wanted number of characters.
std::wstring Description(std::mt19937& random, size_t length) {
    std::wstring text;
    while (text.size() < length) {
        if (!text.empty()) text += L' ';
        text += FromUtf8(kWords[random() % kWordCount]);
    }
    text.resize(length);
    if (text.back() == L' ') text.back() = L'.';
    return text;
}

}  // namespace

double FirstLedgerDay() { return DateSerial(2016, 1, 1); }
double LastLedgerDay() { return DateSerial(2025, 12, 31); }

GeneratedLedger GenerateLedger(LedgerDatabase& database, size_t rows, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> expenseCents(100, 50000);
    std::uniform_int_distribution<int> incomeCents(1000, 300000);
    std::uniform_int_distribution<int> descriptionLength(10, 40);
    std::uniform_int_distribution<int> lateBy(1, 90);

    GeneratedLedger out;
    out.balances.reserve(rows);
    const double first = FirstLedgerDay();
    const double days = LastLedgerDay() - first + 1;

    auto connection = database.Connection();
    // Undone by the transaction's owner if a row cannot be written.
    data::Transaction transaction(connection);
    Statement insert(connection->Handle(),
                     "INSERT INTO FINANZAS (ID, FECHA, DESCRIPCION, INGRESO, EGRESO, FECHA_OP, INGEGR, "
                     "ESTADO) VALUES (NULL, ?, ?, ?, ?, ?, ?, ?)");
    double fund = 0;
    std::wstring keyedText;
    double keyedDay = -1;
    for (size_t i = 0; i < rows; ++i) {
        // Rows are keyed in day by day, evenly over the ten years.
        double keyed = first + static_cast<double>(static_cast<long long>(static_cast<double>(i) * days /
                                                                          static_cast<double>(rows)));
        if (keyed != keyedDay) {
            keyedDay = keyed;
            keyedText = IsoDate(keyed);
        }
        // About one movement in 150 is entered up to three months late.
        double dated = random() % 150 == 0 ? keyed - lateBy(random) : keyed;
        double income = 0, expense = 0, signedAmount;
        if (random() % 4 == 0) {
            income = incomeCents(random) / 100.0;
            signedAmount = income;
        } else {
            expense = expenseCents(random) / 100.0;
            signedAmount = -expense;
        }
        fund += signedAmount;
        out.balances.push_back(fund);

        insert.Bind(1, ToUtf8(IsoDate(dated)));
        insert.Bind(2, ToUtf8(Description(random, static_cast<size_t>(descriptionLength(random)))));
        insert.Bind(3, income);
        insert.Bind(4, expense);
        insert.Bind(5, ToUtf8(keyedText));
        insert.Bind(6, signedAmount);
        insert.Bind(7, fund);
        insert.Run();
        insert.Reset();
        out.lastDay = keyed;
    }
    transaction.Commit();

    SYSTEMTIME last = ToSystemTime(LastLedgerDay());
    out.yearFrom = DateSerial(last.wYear, 1, 1);
    out.yearTo = DateSerial(last.wYear, 12, 31);
    return out;
}

bool BalancesMatch(LedgerDatabase& database, const std::vector<double>& balances) {
    auto connection = database.Connection();
    Statement select(connection->Handle(), "SELECT ESTADO FROM FINANZAS ORDER BY ID");
    size_t i = 0;
    while (i < balances.size() && select.Step()) {
        if (select.ColumnType(0) != SQLITE_FLOAT) return false;
        double value = select.Real(0);
        if (std::memcmp(&value, &balances[i], sizeof value) != 0) return false;
        ++i;
    }
    return i == balances.size();
}

}  // namespace arc::bench
