#include "History.h"

#include "platform/data/Statement.h"
#include "platform/runtime/Sha256.h"
#include "platform/runtime/Text.h"

#include <cstdio>
#include <map>

namespace arc {

const wchar_t* const History::kCreateTable =
    L"CREATE TABLE IF NOT EXISTS HISTORIAL (NUM INTEGER PRIMARY KEY, MOMENTO TEXT NOT NULL, OPERACION TEXT NOT NULL, "
    L"ID INTEGER, FECHA_ANTES TEXT, DESCRIPCION_ANTES TEXT, INGRESO_ANTES DOUBLE, EGRESO_ANTES DOUBLE, "
    L"FECHA_DESPUES TEXT, DESCRIPCION_DESPUES TEXT, INGRESO_DESPUES DOUBLE, EGRESO_DESPUES DOUBLE, NOTA TEXT, "
    L"HASH_ANTERIOR TEXT NOT NULL, HASH TEXT NOT NULL); "
    L"CREATE INDEX IF NOT EXISTS HISTORIAL_ID ON HISTORIAL (ID)";

const wchar_t* const History::kCanonicalText =
    L"quote(NUM) || ',' || quote(MOMENTO) || ',' || quote(OPERACION) || ',' || quote(ID) || ',' || "
    L"quote(FECHA_ANTES) || ',' || quote(DESCRIPCION_ANTES) || ',' || quote(INGRESO_ANTES) || ',' || "
    L"quote(EGRESO_ANTES) || ',' || quote(FECHA_DESPUES) || ',' || quote(DESCRIPCION_DESPUES) || ',' || "
    L"quote(INGRESO_DESPUES) || ',' || quote(EGRESO_DESPUES) || ',' || quote(NOTA) || ',' || quote(HASH_ANTERIOR)";

namespace {

const char kNoHash[] = "0000000000000000000000000000000000000000000000000000000000000000";

// A movement's values as one line, for the fingerprint of the book at its
// opening: "quote(ID),quote(FECHA),quote(DESCRIPCION),quote(INGRESO),quote(EGRESO)".
const char kRowText[] = "quote(ID) || ',' || quote(FECHA) || ',' || quote(DESCRIPCION) || ',' || quote(INGRESO) || "
                        "',' || quote(EGRESO)";

sqlite3* Handle(LedgerDatabase& db) { return db.Connection()->Handle(); }

std::string Utf8(const std::wstring& text) { return ToUtf8(text); }

bool HasTable(LedgerDatabase& db) { return data::HasTable(Handle(db), "HISTORIAL"); }

// Chains the entry to the one before it and stores its fingerprint.
void Seal(LedgerDatabase& db, std::int64_t num) {
    {
        data::Statement previous(Handle(db), "SELECT HASH FROM HISTORIAL WHERE NUM < ?1 ORDER BY NUM DESC LIMIT 1");
        previous.Bind(1, static_cast<long long>(num));
        const std::string before = previous.Step() ? std::string(previous.Text(0)) : std::string(kNoHash);
        data::Statement chain(Handle(db), "UPDATE HISTORIAL SET HASH_ANTERIOR = ?1 WHERE NUM = ?2");
        chain.Bind(1, before);
        chain.Bind(2, static_cast<long long>(num));
        chain.Run();
    }
    data::Statement text(Handle(db), "SELECT " + Utf8(History::kCanonicalText) + " FROM HISTORIAL WHERE NUM = ?1");
    text.Bind(1, static_cast<long long>(num));
    if (!text.Step()) throw RuntimeError(kErrNoCurrentRecord, L"La entrada del historial desapareció al sellarla.");
    const std::string hash = Sha256Hex(text.Text(0));
    data::Statement seal(Handle(db), "UPDATE HISTORIAL SET HASH = ?1 WHERE NUM = ?2");
    seal.Bind(1, hash);
    seal.Bind(2, static_cast<long long>(num));
    seal.Run();
}

std::int64_t NewEntry(LedgerDatabase& db, const wchar_t* operation, const std::wstring& moment,
                      std::optional<std::int64_t> id, const std::wstring& note) {
    data::Statement st(Handle(db), "INSERT INTO HISTORIAL (MOMENTO, OPERACION, ID, NOTA, HASH_ANTERIOR, HASH) "
                                   "VALUES (?1, ?2, ?3, ?4, '', '')");
    st.Bind(1, Utf8(moment));
    st.Bind(2, Utf8(operation));
    if (id) st.Bind(3, static_cast<long long>(*id));
    if (!note.empty()) st.Bind(4, Utf8(note));
    st.Run();
    return db.Connection()->LastInsertId();
}

// The movement's values as they are now into one side of the entry.
void TakeValues(LedgerDatabase& db, std::int64_t num, std::int64_t id, const char* side) {
    const std::string s = side;
    data::Statement st(Handle(db), "UPDATE HISTORIAL SET (FECHA_" + s + ", DESCRIPCION_" + s + ", INGRESO_" + s +
                                       ", EGRESO_" + s + ") = (SELECT FECHA, DESCRIPCION, INGRESO, EGRESO FROM "
                                       "FINANZAS WHERE ID = ?1) WHERE NUM = ?2");
    st.Bind(1, static_cast<long long>(id));
    st.Bind(2, static_cast<long long>(num));
    st.Run();
}

// The movements as they were when the history opened: those the history
// never touched as they are now, the others as their first entry found them.
std::string OpeningFingerprint(LedgerDatabase& db, std::int64_t lastId) {
    std::map<std::int64_t, std::string> rows;
    {
        data::Statement st(Handle(db), std::string("SELECT ID, ") + kRowText + " FROM FINANZAS WHERE ID <= ?1");
        st.Bind(1, static_cast<long long>(lastId));
        while (st.Step()) rows[st.Integer(0)] = std::string(st.Text(1));
    }
    {
        data::Statement st(Handle(db),
                           "SELECT h.ID, quote(h.ID) || ',' || quote(h.FECHA_ANTES) || ',' || quote(h.DESCRIPCION_ANTES) "
                           "|| ',' || quote(h.INGRESO_ANTES) || ',' || quote(h.EGRESO_ANTES), h.OPERACION FROM HISTORIAL "
                           "h WHERE h.ID <= ?1 AND h.NUM = (SELECT min(NUM) FROM HISTORIAL g WHERE g.ID = h.ID)");
        st.Bind(1, static_cast<long long>(lastId));
        while (st.Step()) {
            if (st.Text(2) == "ALTA") continue;  // a movement the history itself added
            rows[st.Integer(0)] = std::string(st.Text(1));
        }
    }
    Sha256::Stream hasher;
    for (const auto& [id, text] : rows) {
        hasher.Add(text);
        hasher.Add("\n");
    }
    return hasher.Hex();
}

// "FILAS=3;ULTIMO_ID=3;FONDO=1130.65;HUELLA=..." and its parts.
std::string NoteValue(const std::string& note, const std::string& key) {
    const std::string tag = key + "=";
    size_t at = note.find(tag);
    if (at == std::string::npos) return {};
    at += tag.size();
    return note.substr(at, note.find(';', at) - at);
}

class TransactionIfNone {
public:
    explicit TransactionIfNone(LedgerDatabase& db) {
        if (!db.Connection()->InTransaction()) transaction_.emplace(db.Connection());
    }
    void Commit() {
        if (transaction_) transaction_->Commit();
    }

private:
    std::optional<data::Transaction> transaction_;
};

}  // namespace

std::wstring History::Moment(const SYSTEMTIME& t) {
    wchar_t buf[32];
    swprintf(buf, 32, L"%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    return buf;
}

void History::Ensure(LedgerDatabase& db, const std::wstring& moment) {
    if (HasTable(db)) return;
    TransactionIfNone transaction(db);
    if (HasTable(db)) return;  // another program made it meanwhile
    db.Execute(kCreateTable);
    long long rows = 0, lastId = 0;
    std::string fund = "0";
    {
        data::Statement st(Handle(db), "SELECT count(*), coalesce(max(ID), 0), quote(total(INGEGR)) FROM FINANZAS");
        if (st.Step()) {
            rows = st.Integer(0);
            lastId = st.Integer(1);
            fund = std::string(st.Text(2));
        }
    }
    const std::string note = "FILAS=" + std::to_string(rows) + ";ULTIMO_ID=" + std::to_string(lastId) +
                             ";FONDO=" + fund + ";HUELLA=" + OpeningFingerprint(db, lastId);
    Seal(db, NewEntry(db, operacion::kApertura, moment, std::nullopt, FromUtf8(note)));
    transaction.Commit();
}

History::Entry::Entry(LedgerDatabase& db, const wchar_t* operation, std::optional<std::int64_t> id,
                      const std::wstring& moment, const std::wstring& note)
    : db_(db), id_(id) {
    Ensure(db, moment);
    num_ = NewEntry(db, operation, moment, id, note);
    if (id) TakeValues(db, num_, *id, "ANTES");
}

void History::Entry::Complete(std::optional<std::int64_t> id) {
    if (id && id != id_) {
        data::Statement st(Handle(db_), "UPDATE HISTORIAL SET ID = ?1 WHERE NUM = ?2");
        st.Bind(1, static_cast<long long>(*id));
        st.Bind(2, static_cast<long long>(num_));
        st.Run();
        id_ = id;
    }
    if (id_) TakeValues(db_, num_, *id_, "DESPUES");
    Seal(db_, num_);
}

void History::RecordBookEvent(LedgerDatabase& db, const wchar_t* operation, const std::wstring& moment,
                              const std::wstring& dateBefore, const std::wstring& dateAfter, const std::wstring& note) {
    Ensure(db, moment);
    const std::int64_t num = NewEntry(db, operation, moment, std::nullopt, note);
    data::Statement st(Handle(db), "UPDATE HISTORIAL SET FECHA_ANTES = ?1, FECHA_DESPUES = ?2 WHERE NUM = ?3");
    if (!dateBefore.empty()) st.Bind(1, Utf8(dateBefore));
    if (!dateAfter.empty()) st.Bind(2, Utf8(dateAfter));
    st.Bind(3, static_cast<long long>(num));
    st.Run();
    Seal(db, num);
}

History::Head History::HeadOf(LedgerDatabase& db) {
    if (!HasTable(db)) return {};
    data::Statement st(Handle(db), "SELECT (SELECT HASH FROM HISTORIAL ORDER BY NUM DESC LIMIT 1), count(*) FROM HISTORIAL");
    if (!st.Step()) return {};
    return {FromUtf8(st.Text(0)), st.Integer(1)};
}

History::Verdict History::Verify(LedgerDatabase& db) {
    if (!HasTable(db)) return {false, L"El libro no tiene historial."};
    // The chain, entry by entry.
    std::string previous = kNoHash;
    std::string opening;
    Sha256 sha;
    {
        data::Statement st(Handle(db), "SELECT NUM, MOMENTO, OPERACION, HASH_ANTERIOR, HASH, " +
                                           Utf8(kCanonicalText) + ", NOTA FROM HISTORIAL ORDER BY NUM");
        bool first = true;
        while (st.Step()) {
            const std::wstring which = L"La entrada " + std::to_wstring(st.Integer(0)) + L" del historial (" +
                                       FromUtf8(st.Text(1)) + L", " + FromUtf8(st.Text(2)) + L")";
            if (st.Text(3) != previous)
                return {false, which + L" no sigue a la anterior: falta, sobra o se cambió una entrada antes de ella."};
            if (sha.Hex(st.Text(5)) != st.Text(4))
                return {false, which + L" fue alterada: su huella no coincide con su contenido."};
            if (first && st.Text(2) == "APERTURA") opening = std::string(st.Text(6));
            first = false;
            previous = std::string(st.Text(4));
        }
    }
    // Every movement against the last state its history gives.
    {
        data::Statement st(Handle(db),
                           "SELECT f.ID, h.NUM, h.OPERACION FROM FINANZAS f LEFT JOIN HISTORIAL h ON h.NUM = (SELECT "
                           "max(NUM) FROM HISTORIAL g WHERE g.ID = f.ID) WHERE (h.NUM IS NULL AND f.ID > ?1) OR "
                           "h.OPERACION = 'BAJA' OR (h.NUM IS NOT NULL AND (h.FECHA_DESPUES IS NOT f.FECHA OR "
                           "h.DESCRIPCION_DESPUES IS NOT f.DESCRIPCION OR h.INGRESO_DESPUES IS NOT f.INGRESO OR "
                           "h.EGRESO_DESPUES IS NOT f.EGRESO)) ORDER BY f.ID LIMIT 1");
        const std::string last = NoteValue(opening, "ULTIMO_ID");
        st.Bind(1, static_cast<long long>(last.empty() ? 0 : std::stoll(last)));
        if (st.Step()) {
            const std::wstring id = std::to_wstring(st.Integer(0));
            if (st.IsNull(1))
                return {false, L"El movimiento " + id + L" está en el libro pero no en el historial."};
            if (st.Text(2) == "BAJA")
                return {false, L"El movimiento " + id + L" está en el libro pero el historial lo da por eliminado."};
            return {false, L"El movimiento " + id + L" no coincide con el historial: se cambió fuera del programa."};
        }
    }
    {
        data::Statement st(Handle(db),
                           "SELECT h.ID FROM HISTORIAL h WHERE h.ID IS NOT NULL AND h.OPERACION <> 'BAJA' AND h.NUM = "
                           "(SELECT max(NUM) FROM HISTORIAL g WHERE g.ID = h.ID) AND NOT EXISTS (SELECT 1 FROM "
                           "FINANZAS f WHERE f.ID = h.ID) ORDER BY h.ID LIMIT 1");
        if (st.Step())
            return {false, L"El movimiento " + std::to_wstring(st.Integer(0)) +
                               L" falta en el libro: el historial no registra que se eliminara."};
    }
    // The movements from before the history, as they were when it opened.
    if (!opening.empty()) {
        const std::string last = NoteValue(opening, "ULTIMO_ID");
        if (OpeningFingerprint(db, last.empty() ? 0 : std::stoll(last)) != NoteValue(opening, "HUELLA"))
            return {false, L"Los movimientos anteriores al historial no coinciden con los que había al abrirlo: "
                           L"alguno se cambió o se eliminó fuera del programa."};
    }
    return {true, L"La historia está completa y coincide con el libro"};
}

std::optional<std::wstring> History::ClosedThrough(LedgerDatabase& db) {
    if (!HasTable(db)) return std::nullopt;
    data::Statement st(Handle(db), "SELECT FECHA_DESPUES FROM HISTORIAL WHERE OPERACION IN ('CIERRE', 'REAPERTURA') "
                                   "ORDER BY NUM DESC LIMIT 1");
    if (!st.Step() || st.IsNull(0)) return std::nullopt;
    return FromUtf8(st.Text(0));
}

std::optional<std::wstring> History::ClosedBefore(LedgerDatabase& db) {
    const auto closed = ClosedThrough(db);
    if (!closed) return std::nullopt;
    // The closing that set the current date, and what was closed before it.
    data::Statement st(Handle(db), "SELECT FECHA_ANTES FROM HISTORIAL WHERE OPERACION = 'CIERRE' AND FECHA_DESPUES = ?1 "
                                   "ORDER BY NUM DESC LIMIT 1");
    st.Bind(1, Utf8(*closed));
    if (!st.Step() || st.IsNull(0)) return std::nullopt;
    return FromUtf8(st.Text(0));
}

}  // namespace arc
