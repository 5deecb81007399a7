#pragma once
// A ledger that Corvelan set aside ("BD.DB.anterior", "BD.DB.anterior.1"...
// in the install folder) where the start finds no BD.db, or one without a
// single movement.  The start stops for it only when it is the
// organisation's book that is missing:
//   - a repair was cut between its two renames (the set-aside and the new
//     file's naming): BD.db is missing (or empty) because the repair never
//     got to name the new one;
//   - BD.db is there but empty (0 bytes, or FINANZAS without rows) while the
//     newest set-aside file holds movements: the start must not open an empty
//     book silently in place of that one.
// A BD.db moved away on purpose, with no repair cut short, just gives a new
// empty book.
#include "LedgerCopy.h"

#include "platform/runtime/Host.h"

#include <optional>
#include <string>

namespace arc {

struct SetAsideLedger {
    std::wstring name;         // the newest set-aside file, in the install folder
    LedgerCopy copy;           // what it holds
    bool repairCut = false;    // a repair stopped between its two renames
    bool emptyLedger = false;  // BD.db is there but holds no movement (else it is missing)
};

// What the start must offer, or nullopt when it can open BD.db as it is.
// A repair counts as cut when its new file (<file>.REPARAR_NUEVO) is still
// in the folder, or when the newest set-aside file was set aside after the
// newest repair's dump (<file>.REPARAR_BD) was written: that repair got past
// its first rename, and its new file would have been named at once.
std::optional<SetAsideLedger> FindSetAsideLedger(const std::wstring& installFolder);

// Puts the set-aside file (and its journal) back as BD.db.  An empty BD.db
// in the way is kept beside it as <stamp>-ANTES-DE-DEVOLVER.DB (stamped by
// the host's clock, the next free second), so nothing is deleted.  Returns
// the path it was kept under ("" when there was none), or nullopt, having
// changed nothing, when a file cannot be moved.
std::optional<std::wstring> PutBackSetAsideLedger(Host& host, const SetAsideLedger& found);

}  // namespace arc
