// BACKUP: a time-stamped copy of the database on the backup drive.  It does
// not copy the file: it writes RESPALDO.BAT, in which the SQLite shell dumps
// the live database as SQL text and loads the dump into a new file named by
// the date and time, and starts that batch hidden without waiting.  Nothing
// is ever reported to the user: a step that fails is skipped and the next
// one runs, and the window's close goes ahead whatever happens here.
#include "Form1.h"

#include "platform/runtime/DateValue.h"
#include "platform/runtime/Format.h"
#include "platform/runtime/TextFile.h"

#include <functional>
#include <vector>

namespace arc {
namespace {

// The batch of an earlier run gets this long to finish and delete itself
// before its file names are used again.
constexpr DWORD kEarlierBatchWaitMs = 30000;
// The clock needs at most a second to leave the previous stamp behind.
constexpr DWORD kNextSecondWaitMs = 2000;
constexpr DWORD kWaitStepMs = 50;

// Waits, processing the window's messages, while the condition holds, for at
// most limit milliseconds of the host's waiting.
void WaitWhile(Host& host, const std::function<bool()>& condition, DWORD limit) {
    for (DWORD waited = 0; waited < limit && condition(); waited += kWaitStepMs) host.Wait(kWaitStepMs);
}

std::wstring StampOf(Host& host) {
    // Two-digit year, month, day, 24-hour hour, minute, second: the "MM"
    // after "HH" is the minute.
    return FormatDate(FromSystemTime(host.Now()), L"YYMMDDHHMMSS", host.Regional());
}

// The five lines of RESPALDO.BAT.  Line 3 has no "echo .dump | " in front:
// cmd.exe lets its "<" take the place of that pipe, but an interpreter that
// lets the pipe win (Wine's cmd) would feed the shell ".dump" instead of
// the dump and silently build an empty backup.  Line 5 keeps its single
// quotation mark as the batch has always been written.
std::vector<std::wstring> BatchLines(const std::wstring& install, const std::wstring& B, const std::wstring& stamp) {
    const std::wstring dump = B + L"\\ARCH_TMP\\BACKUP.BACKUP";
    return {
        L"@echo off",
        L"echo .dump | " + install + L"\\sqlite3.exe " + install + L"\\BD.DB" + L" > " + dump,
        install + L"\\sqlite3.exe " + B + L"\\" + stamp + L"-" + L"BD.DB" + L" < " + dump,
        L"del /q \"" + dump + L"\"",
        L"del /q " + B + L"\"" + L"\\ARCH_TMP\\RESPALDO.BAT",
    };
}

}  // namespace

void Form1::BACKUP() {
    // While this run waits (pumping messages), a close or "Guardar" may call
    // again; the run under way makes the backup for both.
    if (backupRunning_) return;
    backupRunning_ = true;
    struct Done {
        Form1& form;
        ~Done() {
            form.SetMousePointer(0);
            form.backupRunning_ = false;
        }
    } done{*this};

    SetMousePointer(11);
    // The drive letter is Text4 exactly as it stands: "D:" gives a path with
    // two colons that nothing can create, and no backup is made.
    CreateDirectoryW((Text(L"Text4") + L":\\BACKUP_ARCANDORA").c_str(), nullptr);
    const std::wstring B = Text(L"Text4") + L":\\BACKUP_ARCANDORA";
    CreateDirectoryW((B + L"\\ARCH_TMP").c_str(), nullptr);
    const std::wstring batch = B + L"\\ARCH_TMP\\RESPALDO.BAT";

    // A batch still lying in the work folder belongs to a run that has not
    // finished (a "Guardar" just before this close, or the previous program
    // run); rewriting it now would cut that backup short.
    WaitWhile(host_, [&] { return FileExists(batch); }, kEarlierBatchWaitMs);

    // Two runs in the same second would share the backup's name.
    std::wstring stamp;
    WaitWhile(
        host_,
        [&] {
            stamp = StampOf(host_);
            return stamp == lastBackupStamp_;
        },
        kNextSecondWaitMs);
    lastBackupStamp_ = stamp;

    // The install folder comes from the host: exactly "C:\ARCANDORA" in
    // production, where the batch expects sqlite3.exe and BD.DB.  A batch
    // that could not be written is not started: whatever lies under its name
    // is not this run's.
    if (WriteAnsiLines(batch, BatchLines(host_.InstallFolder(), B, stamp))) host_.StartHidden(batch);
}

}  // namespace arc
