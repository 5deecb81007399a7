#include "StatementStore.h"

#include "platform/data/Statement.h"
#include "platform/runtime/DateValue.h"
#include "platform/runtime/Format.h"
#include "platform/runtime/Text.h"

#include <sqlite3.h>

#include <cstdio>

namespace arc {
namespace {

const wchar_t kSchema[] =
    L"CREATE TABLE IF NOT EXISTS EXTRACTOS (ID INTEGER PRIMARY KEY AUTOINCREMENT, HUELLA TEXT NOT NULL UNIQUE, "
    L"ARCHIVO TEXT NOT NULL, FORMATO TEXT NOT NULL, ENTIDAD TEXT, OFICINA TEXT, CUENTA TEXT, TITULAR TEXT, "
    L"DIVISA TEXT, DESDE TEXT NOT NULL, HASTA TEXT NOT NULL, SALDO_INICIAL INTEGER, SALDO_FINAL INTEGER, "
    L"IMPORTADO TEXT NOT NULL);"
    L"CREATE TABLE IF NOT EXISTS EXTRACTO_MOVIMIENTOS (ID INTEGER PRIMARY KEY AUTOINCREMENT, "
    L"EXTRACTO INTEGER NOT NULL REFERENCES EXTRACTOS(ID), LINEA INTEGER NOT NULL, HUELLA TEXT NOT NULL, "
    L"FECHA TEXT NOT NULL, CONCEPTO TEXT NOT NULL, IMPORTE INTEGER NOT NULL, FINANZAS_ID INTEGER, "
    L"UNIQUE (EXTRACTO, HUELLA));"
    L"CREATE INDEX IF NOT EXISTS EXTRACTO_MOVIMIENTOS_FECHA ON EXTRACTO_MOVIMIENTOS (FECHA)";

std::string Utf8Date(double date) { return ToUtf8(IsoDate(date)); }

std::optional<double> DateOf(std::string_view iso) {
    int y = 0, m = 0, d = 0;
    if (iso.size() != 10 || std::sscanf(std::string(iso).c_str(), "%4d-%2d-%2d", &y, &m, &d) != 3 ||
        !IsValidDate(y, m, d))
        return std::nullopt;
    return DateSerial(y, m, d);
}

void BindOptional(data::Statement& st, int index, const std::optional<std::int64_t>& value) {
    if (value) st.Bind(index, static_cast<long long>(*value));
}

}  // namespace

void EnsureStatementTables(data::Connection& connection) { connection.Execute(kSchema); }

ImportedLines ImportedLinesBetween(data::Connection& connection, double from, double to) {
    data::Statement query(connection.Handle(),
                          "SELECT HUELLA, FINANZAS_ID FROM EXTRACTO_MOVIMIENTOS WHERE FECHA BETWEEN ?1 AND ?2 "
                          "AND FINANZAS_ID IS NOT NULL");
    query.Bind(1, Utf8Date(from));
    query.Bind(2, Utf8Date(to));
    ImportedLines lines;
    while (query.Step()) lines[std::string(query.Text(0))].push_back(query.Integer(1));
    return lines;
}

std::int64_t StoreStatement(data::Connection& connection, const AccountStatement& s, const std::wstring& fileName,
                            const std::vector<std::int64_t>& bookIds, double today) {
    sqlite3* db = connection.Handle();
    data::Statement upsert(db,
                           "INSERT INTO EXTRACTOS (HUELLA, ARCHIVO, FORMATO, ENTIDAD, OFICINA, CUENTA, TITULAR, DIVISA, "
                           "DESDE, HASTA, SALDO_INICIAL, SALDO_FINAL, IMPORTADO) "
                           "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13) "
                           "ON CONFLICT (HUELLA) DO UPDATE SET IMPORTADO = excluded.IMPORTADO");
    upsert.Bind(1, s.fingerprint);
    upsert.Bind(2, ToUtf8(fileName));
    upsert.Bind(3, s.format == StatementFormat::Norma43 ? "NORMA43" : "CSV");
    upsert.Bind(4, ToUtf8(s.bank));
    upsert.Bind(5, ToUtf8(s.branch));
    upsert.Bind(6, ToUtf8(s.account));
    upsert.Bind(7, ToUtf8(s.holder));
    upsert.Bind(8, ToUtf8(s.currency));
    upsert.Bind(9, Utf8Date(s.firstDate));
    upsert.Bind(10, Utf8Date(s.lastDate));
    BindOptional(upsert, 11, s.initialCents);
    BindOptional(upsert, 12, s.finalCents);
    upsert.Bind(13, Utf8Date(today));
    upsert.Run();
    data::Statement idOf(db, "SELECT ID FROM EXTRACTOS WHERE HUELLA = ?1");
    idOf.Bind(1, s.fingerprint);
    if (!idOf.Step()) throw RuntimeError(kErrInternal, L"The statement just stored cannot be found");
    const std::int64_t id = idOf.Integer(0);

    // A movement keeps the book row it had when this import found none.
    data::Statement line(db,
                         "INSERT INTO EXTRACTO_MOVIMIENTOS (EXTRACTO, LINEA, HUELLA, FECHA, CONCEPTO, IMPORTE, "
                         "FINANZAS_ID) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7) ON CONFLICT (EXTRACTO, HUELLA) DO UPDATE "
                         "SET FINANZAS_ID = COALESCE(excluded.FINANZAS_ID, FINANZAS_ID)");
    for (size_t i = 0; i < s.movements.size(); ++i) {
        const BankMovement& m = s.movements[i];
        line.Reset();
        line.Bind(1, static_cast<long long>(id));
        line.Bind(2, m.line);
        line.Bind(3, m.fingerprint);
        line.Bind(4, Utf8Date(m.date));
        line.Bind(5, ToUtf8(m.wording));
        line.Bind(6, static_cast<long long>(m.cents));
        if (i < bookIds.size() && bookIds[i]) line.Bind(7, static_cast<long long>(bookIds[i]));
        line.Run();
    }
    return id;
}

std::wstring AccountText(const AccountStatement& s) {
    if (s.format != StatementFormat::Norma43) return L"";
    std::wstring text = L"Entidad " + s.bank + L", oficina " + s.branch + L", cuenta " + s.account;
    if (!s.holder.empty()) text += L", " + s.holder;
    return text;
}

std::vector<std::pair<std::int64_t, std::wstring>> StoredStatementList(data::Connection& connection,
                                                                       const Regional& regional) {
    data::Statement query(connection.Handle(),
                          "SELECT ID, DESDE, HASTA, ARCHIVO, ENTIDAD, OFICINA, CUENTA FROM EXTRACTOS "
                          "ORDER BY HASTA DESC, ID DESC");
    std::vector<std::pair<std::int64_t, std::wstring>> list;
    while (query.Step()) {
        auto from = DateOf(query.Text(1)), to = DateOf(query.Text(2));
        std::wstring text = (from ? ShortDate(*from, regional) : FromUtf8(query.Text(1))) + L" a " +
                            (to ? ShortDate(*to, regional) : FromUtf8(query.Text(2))) + L": " +
                            FromUtf8(query.Text(3));
        if (!query.Text(6).empty())
            text += L" (" + FromUtf8(query.Text(4)) + L" " + FromUtf8(query.Text(5)) + L" " + FromUtf8(query.Text(6)) +
                    L")";
        list.emplace_back(query.Integer(0), text);
    }
    return list;
}

std::optional<StoredStatement> LoadStatement(data::Connection& connection, std::int64_t id) {
    sqlite3* db = connection.Handle();
    data::Statement head(db,
                         "SELECT ARCHIVO, FORMATO, ENTIDAD, OFICINA, CUENTA, TITULAR, DIVISA, DESDE, HASTA, "
                         "SALDO_INICIAL, SALDO_FINAL, HUELLA FROM EXTRACTOS WHERE ID = ?1");
    head.Bind(1, static_cast<long long>(id));
    if (!head.Step()) return std::nullopt;
    StoredStatement stored;
    stored.id = id;
    stored.fileName = FromUtf8(head.Text(0));
    AccountStatement& s = stored.statement;
    s.format = head.Text(1) == "CSV" ? StatementFormat::Csv : StatementFormat::Norma43;
    s.bank = FromUtf8(head.Text(2));
    s.branch = FromUtf8(head.Text(3));
    s.account = FromUtf8(head.Text(4));
    s.holder = FromUtf8(head.Text(5));
    s.currency = FromUtf8(head.Text(6));
    s.firstDate = DateOf(head.Text(7)).value_or(0);
    s.lastDate = DateOf(head.Text(8)).value_or(0);
    if (head.ColumnType(9) != SQLITE_NULL) s.initialCents = head.Integer(9);
    if (head.ColumnType(10) != SQLITE_NULL) s.finalCents = head.Integer(10);
    s.fingerprint = std::string(head.Text(11));

    data::Statement lines(db,
                          "SELECT LINEA, HUELLA, FECHA, CONCEPTO, IMPORTE, FINANZAS_ID FROM EXTRACTO_MOVIMIENTOS "
                          "WHERE EXTRACTO = ?1 ORDER BY FECHA, LINEA");
    lines.Bind(1, static_cast<long long>(id));
    while (lines.Step()) {
        BankMovement m;
        m.line = static_cast<int>(lines.Integer(0));
        m.fingerprint = std::string(lines.Text(1));
        m.date = DateOf(lines.Text(2)).value_or(0);
        m.wording = FromUtf8(lines.Text(3));
        m.cents = lines.Integer(4);
        if (lines.ColumnType(5) != SQLITE_NULL) stored.links[m.fingerprint].push_back(lines.Integer(5));
        s.movements.push_back(std::move(m));
    }
    return stored;
}

}  // namespace arc
