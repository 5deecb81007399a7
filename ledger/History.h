#pragma once
// The history of every change to the book, kept in BD.db beside FINANZAS in
// the table HISTORIAL and written in the same transaction as the change:
// when, which operation, which movement, its values before and after, a
// note, and a chain of SHA-256 fingerprints.  Each entry's HASH is the
// SHA-256 of the UTF-8 text that SQLite's quote() gives of its fields joined
// by commas, the previous entry's HASH last (HASH_ANTERIOR; 64 zeros for
// the first entry), so that any entry altered, removed or put in between
// breaks the chain, and anyone can check it with SQLite's shell and
// sha256sum (README).  A book that had no history gets its first entry,
// APERTURA, holding the fund, the rows and a fingerprint of every movement
// at that moment.
#include "LedgerDatabase.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace arc {

namespace operacion {
inline constexpr wchar_t kApertura[] = L"APERTURA";
inline constexpr wchar_t kAlta[] = L"ALTA";
inline constexpr wchar_t kModificacion[] = L"MODIFICACION";
inline constexpr wchar_t kBaja[] = L"BAJA";
inline constexpr wchar_t kRestauracion[] = L"RESTAURACION";
inline constexpr wchar_t kCierre[] = L"CIERRE";
inline constexpr wchar_t kReapertura[] = L"REAPERTURA";
inline constexpr wchar_t kReparacion[] = L"REPARACION";
}  // namespace operacion

class History {
public:
    static const wchar_t* const kCreateTable;
    // The text whose SHA-256 is an entry's HASH, as an SQL expression over
    // HISTORIAL's columns.
    static const wchar_t* const kCanonicalText;

    // "YYYY-MM-DD hh:mm:ss" of a local time.
    static std::wstring Moment(const SYSTEMTIME& time);

    // Makes sure the book has its history: a book without HISTORIAL gets the
    // table and its APERTURA entry, in one transaction of its own unless the
    // caller's is open.  Works on the database's current connection.
    static void Ensure(LedgerDatabase& db, const std::wstring& moment);

    // One entry in the making, inside the caller's transaction: the
    // movement's values are taken as they are when it is made (before) and
    // when it is completed (after); a movement that does not exist at either
    // moment leaves those values NULL.
    class Entry {
    public:
        Entry(LedgerDatabase& db, const wchar_t* operation, std::optional<std::int64_t> id, const std::wstring& moment,
              const std::wstring& note = L"");
        // Takes the values after the change (of `id` when the movement got
        // its id only now), chains the entry and stores its fingerprint.
        void Complete(std::optional<std::int64_t> id = std::nullopt);

    private:
        LedgerDatabase& db_;
        std::int64_t num_ = 0;
        std::optional<std::int64_t> id_;
    };

    // An entry about the whole book (CIERRE, REAPERTURA, RESTAURACION,
    // REPARACION): no movement, the dates given before and after, a note.
    static void RecordBookEvent(LedgerDatabase& db, const wchar_t* operation, const std::wstring& moment,
                                const std::wstring& dateBefore, const std::wstring& dateAfter,
                                const std::wstring& note);

    // The fingerprint of the last entry, and how many entries there are.
    struct Head {
        std::wstring hash;
        long long entries = 0;
    };
    static Head HeadOf(LedgerDatabase& db);

    // The chain recomputed entry by entry, then the book compared with the
    // last state its history gives of every movement.
    struct Verdict {
        bool sound = false;
        std::wstring text;  // "La historia está completa y coincide con el libro", or the first fault
    };
    static Verdict Verify(LedgerDatabase& db);

    // The last day of the closed period ("YYYY-MM-DD"), if one is closed.
    static std::optional<std::wstring> ClosedThrough(LedgerDatabase& db);
    // The closing date that reopening the closed period gives back (the one
    // before it), or none.
    static std::optional<std::wstring> ClosedBefore(LedgerDatabase& db);
};

}  // namespace arc
