#pragma once
// REPARADOR.BAT, the batch that rebuilds a database from its own dump.  It
// proves first and swaps last: the shell dumps a copy of the chosen file
// beside it, builds the new database from the dump under a temporary name
// and checks it; only then is the chosen file set aside as "BD.DB.anterior"
// and the new one named "BD.db".  Any failure on the way leaves the chosen
// file as it was, removes the temporary files and says so in the console.
//
// Before the swap the console tells what the new database holds: its rows
// of FINANZAS and HISTORIAL and its sums of income and expense.  A recovery
// of a damaged file also gets its balances recomputed, and, when it kept
// fewer rows than the file had or the file's rows could not be counted, the
// swap waits for the user to type S.  The new database carries a note of
// the repair (kPendingRepairTable, ledger/LedgerSchema.h), from which
// Arcandora, at its next start, writes the REPARACION entry of the book's
// history.
#include <optional>
#include <string>
#include <vector>

namespace arc::repair {

// How the SQLite shell turns the chosen file into SQL text: ".dump" for a
// sound file, ".recover" for a damaged one (".dump" stops at the first bad
// page and still exits as if all went well).
enum class DumpCommand { Dump, Recover };

// Everything the batch is made of.  Paths as they are to stand in the batch
// (see BatchSafePath).
struct RepairPlan {
    std::wstring programFolder;  // the folder of sqlite3.exe
    std::wstring chosenFile;     // the file to repair, full path
    DumpCommand command = DumpCommand::Dump;
    // chosenFile + "-journal" holds a transaction to roll back: it is copied
    // with the file, and set aside with it.
    bool hotJournal = false;
    // Rows of FINANZAS in the chosen file, when they could be counted.  A
    // dump must keep them all, or nothing changes; a recovery that keeps
    // fewer, or of a file whose rows could not be counted, asks first.
    std::optional<long long> rowsBefore;
    // The same for HISTORIAL: its rows when the table is there and could be
    // counted; historyUncounted when it is there but could not be.
    std::optional<long long> historyBefore;
    bool historyUncounted = false;
    // When the repair was prepared, "YYYY-MM-DD hh:mm:ss", for its note.
    std::wstring moment;
    // The name the chosen file is set aside under, in its own folder.
    std::wstring setAsideName = L"BD.DB.anterior";
};

// The batch file of a program folder: P + "\REPARADOR.BAT".
std::wstring RepairBatchFile(const std::wstring& programFolder);

// The files the batch makes beside the chosen file: the dump, which stays,
// and the private copy and the new database, which go.
std::wstring DumpFileOf(const std::wstring& chosenFile);
std::wstring CopyFileOf(const std::wstring& chosenFile);
std::wstring NewFileOf(const std::wstring& chosenFile);

// A path as it must stand in a batch line: between quotation marks when it
// holds a blank or a character that the command interpreter would take as
// syntax, and with every "%" doubled so that it is not read as a variable.
// Other paths come back unchanged.
std::wstring BatchWord(const std::wstring& path);

// The lines of the batch, without line ends.
std::vector<std::wstring> RepairBatchLines(const RepairPlan& plan);

// The first of "BD.DB.anterior", "BD.DB.anterior.1", "BD.DB.anterior.2"...
// that names no file in the folder, nor the journal of one.
std::wstring FreeSetAsideName(const std::wstring& folder);

// The path in a form that survives both code pages it passes through: the
// OEM one of the batch file and the ANSI one of the shell call.  The path
// itself when every letter maps, else its short (8.3) form when that maps,
// else nothing.  A letter that does not map would become "?", which the
// command interpreter reads as a wildcard and so could name another file.
std::optional<std::wstring> BatchSafePath(const std::wstring& path);

// The folder the batch runs in: the chosen file's folder, with the backslash
// kept after a bare drive ("C:\"), since "C:" alone names the drive's
// current folder rather than its root.
std::wstring WorkingFolderOf(const std::wstring& chosenFile);

}  // namespace arc::repair
