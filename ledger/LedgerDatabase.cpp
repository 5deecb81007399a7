#include "LedgerDatabase.h"

#include "LedgerSchema.h"
#include "SqlText.h"

#include "platform/data/RunningSum.h"
#include "platform/data/TextSearch.h"
#include "platform/runtime/DateValue.h"
#include "platform/runtime/NumberText.h"

namespace arc {

const wchar_t* const LedgerDatabase::kCreateTable =
    L"CREATE TABLE if NOT exists FINANZAS (`ID` INTEGER PRIMARY KEY AUTOINCREMENT, `FECHA` TEXT, `DESCRIPCION` TEXT, "
    L"`INGRESO` DOUBLE, `EGRESO` DOUBLE, `FECHA_OP` TEXT, `INGEGR` DOUBLE, ESTADO DOUBLE)";

const wchar_t* const LedgerDatabase::kCreateIndexes =
    L"CREATE INDEX IF NOT EXISTS FINANZAS_FECHA_OP ON FINANZAS (FECHA_OP); "
    L"CREATE INDEX IF NOT EXISTS FINANZAS_FECHA ON FINANZAS (FECHA)";

// Shared with Corvelan (LedgerSchema.h).
const wchar_t* const LedgerDatabase::kRecomputeBalances = kRecomputeRunningBalances;

const wchar_t* const LedgerDatabase::kRecomputeBalancesPerRow =
    L"UPDATE FINANZAS SET estado = (SELECT SUM(INGEGR) FROM FINANZAS AS t2 WHERE t2.rowid <= FINANZAS.rowid)";

LedgerDatabase::LedgerDatabase(std::wstring installFolder)
    : connectionString_(ConnectionString(installFolder)) {}

std::wstring LedgerDatabase::ConnectionString(const std::wstring& installFolder) {
    return L"DRIVER=SQLite3 ODBC Driver;Database=" + installFolder +
           L"\\BD.db;LongNames=0;Timeout=1000;NoTXN=0;SyncPragma=NORMAL;StepAPI=0;";
}

void LedgerDatabase::CONEXION() {
    // The previous connection is released, not closed: a record set opened on
    // it keeps it alive until that record set is itself replaced.
    auto fresh = data::Connection::Open(connectionString_);
    connection_ = fresh;
    connection_->Execute(kCreateTable);
    connection_->Execute(kCreateIndexes);
    // Room for a correction's rewritten balances (a year of rows) in
    // memory, so the transaction is written once at its commit rather than
    // spilled part by part before it.
    connection_->Execute(L"PRAGMA cache_size = -32768");
    data::AddTextSearch(*connection_);
}

void LedgerDatabase::ACTUALIZAR_BD() { Execute(kRecomputeBalances); }

void LedgerDatabase::RecomputeBalancesFrom(std::int64_t id) {
    // The balance stored in the row just before is where the running sum
    // stood there.  Without a row before it, or with no number stored in it,
    // the sum starts from the first row.
    const std::wstring from = std::to_wstring(id);
    auto previous = OpenRecordset(L"SELECT ESTADO FROM FINANZAS WHERE rowid < " + from + L" ORDER BY rowid DESC LIMIT 1");
    if (previous->Eof() || !previous->Field(L"ESTADO").IsNumber()) {
        ACTUALIZAR_BD();
        return;
    }
    data::ExecuteWithRunningSum(Live(), L"UPDATE FINANZAS SET ESTADO = SUMA_CORRIDA(rowid, INGEGR) WHERE rowid >= " + from,
                                previous->Field(L"ESTADO").AsDouble());
}

std::wstring LedgerDatabase::DayViewQuery(double today) {
    return L"select ID, FECHA, DESCRIPCION, INGRESO, EGRESO, ESTADO FROM FINANZAS WHERE FECHA_OP= '" + IsoDate(today) +
           L"'";
}

void LedgerDatabase::InsertMovement(double date, const std::wstring& description, double income, double expense,
                                    double today, const std::function<void(std::int64_t id)>& inserted) {
    data::Transaction transaction(connection_);
    auto fundQuery = OpenRecordset(L"SELECT SUM(INGEGR) AS FONDO FROM FINANZAS");
    const data::Value& f = fundQuery->Field(L"FONDO");
    double fund = f.IsNull() ? 0.0 : f.AsDouble();
    double signedAmount = 0;
    if (income > 0) {
        signedAmount = income;
        fund += income;
    }
    if (expense > 0) {
        signedAmount = -expense;
        fund -= expense;
    }
    Execute(std::wstring(L"INSERT INTO FINANZAS (ID, FECHA, DESCRIPCION, INGRESO, EGRESO, FECHA_OP, INGEGR, ESTADO)") +
            L"VALUES(NULL, '" + IsoDate(date) + L"','" + SqlQuoted(description) + L"'," + SqlNumber(income) + L"," +
            SqlNumber(expense) + L", '" + IsoDate(today) + L"'," + SqlNumber(signedAmount) + L", " + SqlNumber(fund) +
            L") ");
    if (inserted) inserted(connection_->LastInsertId());
    transaction.Commit();
}

std::shared_ptr<data::Recordset> LedgerDatabase::OpenRecordset(const std::wstring& sql) const {
    auto rs = std::make_shared<data::Recordset>();
    rs->CursorLocation = data::adUseClient;
    rs->ActiveConnection = connection_;
    rs->LockType = data::adLockOptimistic;
    rs->CursorType = data::adOpenDynamic;
    rs->Open(sql);
    return rs;
}

data::Connection& LedgerDatabase::Live() const {
    if (!connection_) throw RuntimeError(kErrConnectionClosed);
    return *connection_;
}

void LedgerDatabase::Execute(const std::wstring& sql) const { Live().Execute(sql); }

}  // namespace arc
