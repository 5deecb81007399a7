// The data layer over SQLite: the connection string, opening and its
// failures, record sets with NULL kept apart from 0, transactions and
// whole-database copies through the online backup API.
#include "platform/data/Connection.h"
#include "platform/data/OnlineBackup.h"
#include "platform/data/Recordset.h"
#include "platform/data/Statement.h"
#include "platform/data/TextSearch.h"
#include "platform/runtime/Text.h"
#include "support/RaisedError.h"
#include "support/TempFolder.h"

#include <sqlite3.h>
#include <windows.h>

#include <gtest/gtest.h>

using namespace arc;
using namespace arc::data;
using arc::test::ErrorOf;
using arc::test::TempFolder;

namespace {
std::wstring ConnectionTo(const std::wstring& file, const std::wstring& driver = L"SQLite3 ODBC Driver") {
    return L"DRIVER=" + driver + L";Database=" + file + L";LongNames=0;Timeout=1000;NoTXN=0;SyncPragma=NORMAL;StepAPI=0;";
}
}  // namespace

TEST(ConnectionString, ReadsEveryOption) {
    auto o = ParseConnectionString(
        L"DRIVER=SQLite3 ODBC Driver;Database=C:\\ARCANDORA\\BD.db;LongNames=0;Timeout=1000;NoTXN=0;"
        L"SyncPragma=NORMAL;StepAPI=0;");
    EXPECT_EQ(o.driver, L"SQLite3 ODBC Driver");
    EXPECT_EQ(o.database, L"C:\\ARCANDORA\\BD.db");
    EXPECT_EQ(o.timeoutMs, 1000);
    EXPECT_EQ(o.syncPragma, L"NORMAL");
    EXPECT_FALSE(o.noTxn);
}

TEST(ConnectionString, AnotherDriverIsAnErrorThatSaysSo) {
    try {
        ParseConnectionString(L"DRIVER=Other Driver;Database=x.db;");
        FAIL();
    } catch (const RuntimeError& e) {
        EXPECT_NE(e.Description().find(L"Other Driver"), std::wstring::npos);
    }
    EXPECT_NE(ErrorOf([] { ParseConnectionString(L"Database=x.db;"); }), 0);
}

TEST(Connection, OpeningAMissingFileCreatesIt) {
    TempFolder dir;
    auto c = Connection::Open(ConnectionTo(dir / L"nuevo.db"));
    c->Execute(L"CREATE TABLE T (A)");
    EXPECT_NE(GetFileAttributesW((dir / L"nuevo.db").c_str()), INVALID_FILE_ATTRIBUTES);
    Statement st(c->Handle(), "PRAGMA synchronous");
    ASSERT_TRUE(st.Step());
    EXPECT_EQ(st.Integer(0), 1);  // NORMAL
}

TEST(Connection, FailuresCarrySqlitesNumberAndLeaveFilesAlone) {
    TempFolder dir;
    EXPECT_EQ(ErrorOf([&] { Connection::Open(ConnectionTo(dir / L"no\\such\\BD.db")); }), SQLITE_CANTOPEN);

    const std::string text = "esto no es una base de datos, solo texto que ocupa varias lineas\r\n"
                             "y que nadie debe sobrescribir jamas.\r\n";
    test::WriteBytes(dir / L"texto.db", text);
    EXPECT_EQ(ErrorOf([&] { Connection::Open(ConnectionTo(dir / L"texto.db"))->Execute(L"CREATE TABLE T (A)"); }),
              SQLITE_NOTADB);
    EXPECT_EQ(test::ReadBytes(dir / L"texto.db"), text);
}

TEST(Connection, ALockHeldLongerThanTheTimeoutIsBusy) {
    TempFolder dir;
    auto first = Connection::Open(ConnectionTo(dir / L"BD.db"));
    first->Execute(L"CREATE TABLE T (A)");
    first->Execute(L"BEGIN EXCLUSIVE");
    DWORD start = GetTickCount();
    EXPECT_EQ(ErrorOf([&] { Connection::Open(ConnectionTo(dir / L"BD.db")); }), SQLITE_BUSY);
    EXPECT_GE(GetTickCount() - start, 900u);
    first->Execute(L"ROLLBACK");
    EXPECT_EQ(ErrorOf([&] { Connection::Open(ConnectionTo(dir / L"BD.db")); }), 0);
}

// In a file made in UTF-8 or in UTF-16 (as other tools may make it) texts
// read as their characters and blobs as their bytes.
TEST(Recordset, ReadsEverythingWithNullApartFromZero) {
    for (const wchar_t* encoding : {L"UTF-8", L"UTF-16le"}) {
        TempFolder dir;
        auto c = Connection::Open(ConnectionTo(dir / L"BD.db"));
        c->Execute(L"PRAGMA encoding = '" + std::wstring(encoding) + L"';"
                   L"CREATE TABLE T (ID INTEGER PRIMARY KEY, N DOUBLE, S TEXT, B BLOB);"
                   L"INSERT INTO T VALUES (1, NULL, 'NIÑOS', x'004142');"
                   L"INSERT INTO T VALUES (2, 0, NULL, NULL); INSERT INTO T VALUES (3, 12.5, '', NULL);");
        Recordset rs;
        rs.CursorLocation = adUseClient;
        rs.ActiveConnection = c;
        rs.LockType = adLockOptimistic;
        rs.CursorType = adOpenDynamic;
        rs.Open(L"SELECT ID, N AS VALOR, S, B FROM T ORDER BY ID");
        ASSERT_EQ(rs.RecordCount(), 3u);
        EXPECT_EQ(rs.FieldName(1), L"VALOR");
        EXPECT_TRUE(rs.Field(L"valor").IsNull());
        EXPECT_EQ(rs.Field(L"S").AsText(), L"NIÑOS") << encoding;
        EXPECT_EQ(rs.Field(L"B").AsText(), std::wstring(L"\0AB", 3)) << encoding;
        rs.MoveNext();
        EXPECT_FALSE(rs.Field(1).IsNull());
        EXPECT_EQ(rs.Field(1).AsDouble(), 0.0);
        EXPECT_EQ(rs.Field(1).GetType(), Value::Type::Real);
        EXPECT_TRUE(rs.Field(2).IsNull());
        rs.MoveNext();
        EXPECT_EQ(rs.Field(L"ID").AsInteger(), 3);
        EXPECT_EQ(rs.Field(L"VALOR").AsDouble(), 12.5);
        rs.MoveNext();
        EXPECT_TRUE(rs.Eof());
        EXPECT_EQ(ErrorOf([&] { rs.Field(L"ID"); }), 3021);
        rs.MoveFirst();
        EXPECT_EQ(ErrorOf([&] { rs.Field(L"NOPE"); }), 3265);
    }
}

TEST(Recordset, KeepsItsConnectionAliveAndFailsWithoutOne) {
    TempFolder dir;
    auto rs = std::make_shared<Recordset>();
    {
        auto c = Connection::Open(ConnectionTo(dir / L"BD.db"));
        c->Execute(L"CREATE TABLE T (A); INSERT INTO T VALUES ('x')");
        rs->ActiveConnection = c;
    }
    rs->Open(L"SELECT A FROM T");
    EXPECT_EQ(rs->Field(L"A").AsText(), L"x");
    Recordset orphan;
    const RuntimeError closed = arc::test::Raised([&] { orphan.Open(L"SELECT 1"); });
    EXPECT_EQ(closed.Number(), 3709);
    EXPECT_EQ(closed.Description().find(L"No se puede usar la conexión para realizar esta operación."), 0u);
    // SQLite's message after what was being done, in Spanish.
    const RuntimeError failed = arc::test::Raised([&] { rs->Open(L"SELECT nothing FROM nowhere"); });
    EXPECT_EQ(failed.Number(), SQLITE_ERROR);
    EXPECT_EQ(failed.Description(), L"No se pudo leer o escribir la base de datos " + (dir / L"BD.db") +
                                        L" (SQLite: near \"nothing\": syntax error)");
}

// A statement that fails part-way through its rows leaves nothing running:
// the table can be dropped at once (an unfinalised read would lock it).
TEST(Recordset, AReadFailingPartWayLeavesNoStatementBehind) {
    TempFolder dir;
    auto c = Connection::Open(ConnectionTo(dir / L"BD.db"));
    c->Execute(L"CREATE TABLE T (A); INSERT INTO T VALUES (1), (2), (3)");
    Recordset rs;
    rs.ActiveConnection = c;
    EXPECT_EQ(ErrorOf([&] { rs.Open(L"SELECT CASE WHEN A < 3 THEN A ELSE abs(-9223372036854775807 - 1) END FROM T"); }),
              SQLITE_ERROR);
    EXPECT_FALSE(rs.IsOpen());
    EXPECT_EQ(ErrorOf([&] { c->Execute(L"DROP TABLE T"); }), 0);
}

TEST(Transaction, RollsBackUnlessCommitted) {
    TempFolder dir;
    auto c = Connection::Open(ConnectionTo(dir / L"BD.db"));
    c->Execute(L"CREATE TABLE T (A)");
    {
        Transaction t(c);
        c->Execute(L"INSERT INTO T VALUES (1)");
    }
    {
        Transaction t(c);
        c->Execute(L"INSERT INTO T VALUES (2)");
        t.Commit();
    }
    Recordset rs;
    rs.ActiveConnection = c;
    rs.Open(L"SELECT group_concat(A) AS V FROM T");
    EXPECT_EQ(rs.Field(L"V").AsText(), L"2");
}

namespace {
std::wstring One(const std::shared_ptr<Connection>& c, const wchar_t* sql) {
    Recordset rs;
    rs.ActiveConnection = c;
    rs.Open(sql);
    return rs.Field(size_t{0}).AsText();
}
}  // namespace

TEST(CopyDatabase, ReplacesTheDestinationWholeAndItsConnectionSeesItAtOnce) {
    TempFolder dir;
    auto small = Connection::Open(ConnectionTo(dir / L"copia.db"));
    small->Execute(L"CREATE TABLE T (A); INSERT INTO T VALUES ('copia')");
    auto live = Connection::Open(ConnectionTo(dir / L"BD.db"));
    live->Execute(L"CREATE TABLE T (A); CREATE TABLE U (B); WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                  L"FROM n WHERE i < 5000) INSERT INTO T SELECT 'fila ' || i FROM n");
    EXPECT_EQ(One(live, L"SELECT count(*) FROM T"), L"5000");

    CopyDatabase(dir / L"copia.db", *live, 1000);
    EXPECT_EQ(One(live, L"SELECT group_concat(A) FROM T"), L"copia");
    EXPECT_EQ(One(live, L"SELECT count(*) FROM sqlite_master WHERE name = 'U'"), L"0");
    EXPECT_LT(test::ReadBytes(dir / L"BD.db").size(), 3u * 4096);  // the file shrank to the copy's pages

    // A new file, then sources that cannot be read: the destination keeps what it held.
    CopyDatabase(dir / L"copia.db", dir / L"nueva.db", 1000);
    EXPECT_EQ(One(Connection::OpenReadOnly(dir / L"nueva.db", 0), L"SELECT group_concat(A) FROM T"), L"copia");
    test::WriteBytes(dir / L"texto.db", "esto no es una base de datos, solo texto de varias lineas\r\n");
    const std::string before = test::ReadBytes(dir / L"nueva.db");
    EXPECT_EQ(ErrorOf([&] { CopyDatabase(dir / L"texto.db", dir / L"nueva.db", 1000); }), SQLITE_NOTADB);
    EXPECT_EQ(ErrorOf([&] { CopyDatabase(dir / L"falta.db", dir / L"nueva.db", 1000); }), SQLITE_CANTOPEN);
    EXPECT_TRUE(test::ReadBytes(dir / L"nueva.db") == before);
    EXPECT_FALSE(test::ReadBytes(dir / L"falta.db").size());
    EXPECT_EQ(ErrorOf([&] { CopyDatabase(dir / L"copia.db", dir / L"no\\hay\\nueva.db", 1000); }), SQLITE_CANTOPEN);
}

TEST(CopyDatabase, AWriterHoldingTheDestinationMakesItBusyAndChangesNothing) {
    TempFolder dir;
    auto copy = Connection::Open(ConnectionTo(dir / L"copia.db"));
    copy->Execute(L"CREATE TABLE T (A); INSERT INTO T VALUES ('copia')");
    auto live = Connection::Open(ConnectionTo(dir / L"BD.db"));
    live->Execute(L"CREATE TABLE T (A); INSERT INTO T VALUES ('vivo')");
    auto writer = Connection::Open(ConnectionTo(dir / L"BD.db"));
    writer->Execute(L"BEGIN IMMEDIATE");
    EXPECT_EQ(ErrorOf([&] { CopyDatabase(dir / L"copia.db", *live, 200); }), SQLITE_BUSY);
    writer->Execute(L"ROLLBACK");
    EXPECT_EQ(One(live, L"SELECT group_concat(A) FROM T"), L"vivo");
    // Read-only: nothing can be written through it.
    auto reader = Connection::OpenReadOnly(dir / L"BD.db", 200);
    EXPECT_EQ(ErrorOf([&] { reader->Execute(L"INSERT INTO T VALUES ('no')"); }), SQLITE_READONLY);
}

// CONTIENE ignores case and the accents of Spanish text on both sides.
TEST(TextSearch, FindsTheTextWhateverItsCaseAndAccents) {
    TempFolder dir;
    auto c = Connection::Open(ConnectionTo(dir / L"BD.db"));
    AddTextSearch(*c);
    c->Execute(L"CREATE TABLE T (A); INSERT INTO T VALUES ('OFRENDA DE LOS NIÑOS'), ('ninos del coro'), "
               L"('Niñas'), ('Canción del AÑO'), (NULL)");
    EXPECT_EQ(One(c, L"SELECT group_concat(A, '|') FROM T WHERE CONTIENE(A, 'niños')"),
              L"OFRENDA DE LOS NIÑOS|ninos del coro");
    EXPECT_EQ(One(c, L"SELECT group_concat(A, '|') FROM T WHERE CONTIENE(A, 'CANCION DEL ano')"), L"Canción del AÑO");
    EXPECT_EQ(One(c, L"SELECT count(*) FROM T WHERE CONTIENE(A, '')"), L"4");
}
