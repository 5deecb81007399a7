#pragma once
// The ledger's database procedures: the one connection of the main window,
// replaced by every CONEXION, the schema, the running-balance recomputation
// and the record-set settings every reader uses.
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace arc {

class LedgerDatabase {
public:
    // The connection string names the database file inside the install folder.
    explicit LedgerDatabase(std::wstring installFolder);

    static std::wstring ConnectionString(const std::wstring& installFolder);
    static const wchar_t* const kCreateTable;
    // Indexes beside the table (its own schema stays as it is): the day
    // view reads by FECHA_OP, the report and the search by FECHA.
    static const wchar_t* const kCreateIndexes;
    // Running balances in one pass over the table, in row-id order.
    static const wchar_t* const kRecomputeBalances;
    // The same result through a correlated sub-query per row: the earlier
    // statement, quadratic in the number of rows, kept to prove the two
    // equal and to measure the difference.
    static const wchar_t* const kRecomputeBalancesPerRow;

    // Opens a fresh connection in place of the previous one (which lives on
    // while record sets still use it) and makes sure FINANZAS and its
    // indexes exist; the connection knows the search function CONTIENE.
    void CONEXION();
    // Recomputes ESTADO of every row on the current connection: each row's
    // balance is the sum of INGEGR over every row with a row id up to its own.
    void ACTUALIZAR_BD();
    // The same for the rows from the given id on, after a change to that row
    // or its removal: the sum starts from the balance stored in the row
    // before it and adds the same values in the same order, so every balance
    // comes out bit for bit as ACTUALIZAR_BD gives it when the earlier
    // balances are right (the self-check and the repair keep the full one).
    void RecomputeBalancesFrom(std::int64_t id);

    // MOSTRAR's statement: every movement keyed in on the given day.
    static std::wstring DayViewQuery(double today);

    // LA_OPERACION's insert on the current connection: the fund is read and
    // the row inserted with its signed amount and its balance in one
    // transaction, so no other writer can slip in between.  The description
    // is stored as given (the caller upper-cases it).  `inserted` runs inside
    // the transaction with the new row's id (the history records it there).
    void InsertMovement(double date, const std::wstring& description, double income, double expense, double today,
                        const std::function<void(std::int64_t id)>& inserted = nullptr);

    // A new record set with the ledger's settings (client cursor, the current
    // connection, optimistic lock, dynamic cursor), opened with the statement.
    std::shared_ptr<data::Recordset> OpenRecordset(const std::wstring& sql) const;
    // Executes a statement that changes data on the current connection.
    void Execute(const std::wstring& sql) const;

    std::shared_ptr<data::Connection> Connection() const { return connection_; }

private:
    // The current connection; raises RuntimeError when there is none yet.
    data::Connection& Live() const;

    std::wstring connectionString_;
    std::shared_ptr<data::Connection> connection_;
};

}  // namespace arc
