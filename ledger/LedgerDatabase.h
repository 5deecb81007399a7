#pragma once
// The ledger's database procedures: the one connection of the main window,
// replaced by every CONEXION, the schema, the running-balance recomputation
// and the record-set settings every reader uses.
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"

#include <memory>
#include <string>

namespace arc {

class LedgerDatabase {
public:
    // The connection string names the database file inside the install folder.
    explicit LedgerDatabase(std::wstring installFolder);

    static std::wstring ConnectionString(const std::wstring& installFolder);
    static const wchar_t* const kCreateTable;
    // Running balances in one pass over the table, in row-id order.
    static const wchar_t* const kRecomputeBalances;
    // The same result through a correlated sub-query per row: the earlier
    // statement, quadratic in the number of rows, kept to prove the two
    // equal and to measure the difference.
    static const wchar_t* const kRecomputeBalancesPerRow;

    // Opens a fresh connection in place of the previous one (which lives on
    // while record sets still use it) and makes sure FINANZAS exists.
    void CONEXION();
    // Recomputes ESTADO of every row on the current connection: each row's
    // balance is the sum of INGEGR over every row with a row id up to its own.
    void ACTUALIZAR_BD();

    // MOSTRAR's statement: every movement keyed in on the given day.
    static std::wstring DayViewQuery(double today);

    // LA_OPERACION's insert on the current connection: the fund is read and
    // the row inserted with its signed amount and its balance in one
    // transaction, so no other writer can slip in between.  The description
    // is stored as given (the caller upper-cases it).
    void InsertMovement(double date, const std::wstring& description, double income, double expense, double today);

    // A new record set with the ledger's settings (client cursor, the current
    // connection, optimistic lock, dynamic cursor), opened with the statement.
    std::shared_ptr<data::Recordset> OpenRecordset(const std::wstring& sql) const;
    // Executes a statement that changes data on the current connection.
    void Execute(const std::wstring& sql) const;

    std::shared_ptr<data::Connection> Connection() const { return connection_; }

private:
    std::wstring connectionString_;
    std::shared_ptr<data::Connection> connection_;
};

}  // namespace arc
