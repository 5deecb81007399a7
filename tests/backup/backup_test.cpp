// BACKUP as the close, "Guardar" and the session's end run it, the batch
// recorded, not run: its exact lines and the work files of each run, the
// stamp and its next free value, drive texts that name no drive, and the
// notice the next start shows, once, for a run that failed.
#include "BackupFixture.h"

#include "ledger/Backup.h"
#include "ledger/LedgerCopy.h"
#include "platform/runtime/Text.h"
#include "platform/runtime/TextFile.h"

namespace arc::test {
namespace {

using Backup = DriveTest;

// The batch of drive Q for a stamp, as the close must write it.
std::string ExpectedBatch(const std::string& stamp) {
    const std::string w = "\"Q:\\BACKUP_ARCANDORA\\ARCH_TMP\\RESPALDO-" + stamp;
    const std::string shell = "\"Q:\\ARCANDORA\\sqlite3.exe\" ";
    const std::string target = "\"Q:\\BACKUP_ARCANDORA\\" + stamp + "-BD.DB\"";
    return "@echo off\r\n" +
           shell + w + ".COPIA\" \"PRAGMA mmap_size=268435456\" \".output '" + w.substr(1) + ".BACKUP'\" .dump > nul\r\n" +
           shell + w + ".NUEVA\" \"PRAGMA cache_size=-65536\" \".read '" + w.substr(1) + ".FINAL'\" \".read '" +
           w.substr(1) + ".BACKUP'\" \".read '" + w.substr(1) + ".SQL'\" > nul\r\n" +
           "if exist " + w + ".OK\" if not exist " + target + " move " + w + ".NUEVA\" " + target + " > nul\r\n" +
           "if exist " + w + ".OK\" if exist " + w + ".NUEVA\" copy /y " + w + ".NOMBRE\" " + w + ".RES\" > nul\r\n" +
           "copy /y " + w + ".RES\" \"Q:\\ARCANDORA\\RESPALDO-" + stamp + ".TXT\" > nul\r\n" +
           "del /q " + w + ".*\"\r\n";
}

std::vector<std::wstring> RunFiles(const std::wstring& stamp) {
    std::vector<std::wstring> files;
    for (const wchar_t* ext : {L".ACTIVA", L".BAT", L".COPIA", L".FINAL", L".NOMBRE", L".RES", L".SQL"})
        files.push_back(L"RESPALDO-" + stamp + ext);
    return files;
}

TEST_F(Backup, CloseSnapshotsTheLedgerWritesTheBatchAndStartsItByItsPath) {
    auto form = OpenForm(host);
    AddRows(install, 2);
    SetBoxText(form->Control(Id::Text4), L"Q");
    HWND window = form->Hwnd();
    CloseWindow(*form);

    EXPECT_FALSE(IsWindow(window));
    ASSERT_EQ(host.started, std::vector<std::wstring>{batchPath});
    // 6 December 2026, 14:30:05: the minute follows the hour, not the month again.
    EXPECT_EQ(host.batches[0], ExpectedBatch("261206143005"));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.waited, 0u);
    // The run's own files, the snapshot among them; nothing has a stamped name yet.
    EXPECT_EQ(FilesIn(workFolder), RunFiles(L"261206143005"));
    EXPECT_EQ(FilesIn(backupFolder), std::vector<std::wstring>{L"ARCH_TMP"});
    EXPECT_EQ(RowsOf(workFolder + L"\\RESPALDO-261206143005.COPIA"), RowsOf(install + L"\\BD.db"));
    EXPECT_EQ(RowsOf(install + L"\\BD.db").size(), 2u);
    EXPECT_EQ(ResultOf(L"261206143005"), "EN_CURSO Q:\\BACKUP_ARCANDORA\r\n");
    // Until the checks say otherwise, the run has failed.
    EXPECT_EQ(ReadBytes(workFolder + L"\\RESPALDO-261206143005.RES"), "FALLO INCOMPLETA Q:\\BACKUP_ARCANDORA\r\n");
}

TEST_F(Backup, StampIsYearMonthDayHourMinuteSecondInTwoDigitsEach) {
    auto form = OpenForm(host);
    SetBoxText(form->Control(Id::Text4), L"Q");
    host.finishBatches = true;
    const struct {
        int y, mo, d, h, mi, s;
        const char* stamp;
    } cases[] = {
        {2026, 12, 6, 14, 30, 5, "261206143005"},
        {2026, 12, 6, 14, 31, 5, "261206143105"},  // a minute later: only the minute digits change
        {2009, 1, 2, 3, 4, 59, "090102030459"},
        {2030, 11, 30, 23, 59, 0, "301130235900"},
        {2031, 7, 8, 0, 0, 9, "310708000009"},
    };
    for (const auto& c : cases) {
        // Each stamp on its own clock: no earlier result for it to follow.
        for (const auto& name : FilesIn(install, L"RESPALDO-*.TXT")) DeleteFileW((install + L"\\" + name).c_str());
        host.SetNow(c.y, c.mo, c.d, c.h, c.mi, c.s);
        form->BACKUP();
    }
    ASSERT_EQ(host.batches.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(host.batches[i], ExpectedBatch(cases[i].stamp)) << i;
    EXPECT_EQ(host.waited, 0u);
}

TEST_F(Backup, DriveTextsThatNameNoDriveCreateNothingAndTheNextStartSaysWhy) {
    const auto rootBefore = FilesIn(drive + L":");
    wchar_t cwd[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, cwd);
    const auto cwdBefore = FilesIn(cwd);
    const std::wstring absent = AbsentDrive();
    ASSERT_FALSE(absent.empty());
    const struct {
        std::wstring text, reason;
    } cases[] = {
        {L"Q:", L"«Q:» no es una letra de unidad"},
        {L"Q:\\", L"«Q:\\» no es una letra de unidad"},
        {L" Q", L"« Q» no es una letra de unidad"},
        {absent, L"la unidad " + absent + L": no existe"},
        {L"", L""},  // no drive: the close says that no copy is made, and nothing is recorded
    };
    for (const auto& c : cases) {
        FastHost h{L""};
        h.installFolder = install;
        h.programFolder = program;
        {
            auto form = OpenForm(h);
            SetBoxText(form->Control(Id::Text4), c.text);
            HWND window = form->Hwnd();
            CloseWindow(*form);
            EXPECT_FALSE(IsWindow(window)) << c.text;
        }
        EXPECT_EQ(h.messages.size(), c.text.empty() ? 1u : 0u) << c.text;
        EXPECT_TRUE(h.started.empty()) << c.text;
        EXPECT_EQ(h.waited, 0u) << c.text;
        // The next start tells it once; the one after says nothing.
        for (int start = 0; start < 2; ++start) {
            FastHost next{L""};
            next.installFolder = install;
            next.programFolder = program;
            auto form = OpenForm(next);
            if (c.reason.empty() || start == 1) {
                EXPECT_TRUE(next.messages.empty()) << c.text;
                continue;
            }
            ASSERT_EQ(next.messages.size(), 1u) << c.text;
            EXPECT_EQ(next.messages[0].flags, static_cast<UINT>(MB_OK));
            EXPECT_NE(next.messages[0].text.find(L"No se pudo hacer la última copia de seguridad: " + c.reason),
                      std::wstring::npos)
                << next.messages[0].text;
        }
    }
    EXPECT_EQ(FilesIn(drive + L":"), rootBefore);
    EXPECT_EQ(FilesIn(cwd), cwdBefore);
}

TEST_F(Backup, AMissingShellIsToldOnceWithWhereTheBackupsAre) {
    host.installFolder = drive + L":\\SIN_SHELL";
    RemoveTree(host.installFolder);
    ASSERT_TRUE(CreateDirectoryW(host.installFolder.c_str(), nullptr));
    {
        auto form = OpenForm(host);
        SetBoxText(form->Control(Id::Text4), L"Q");
        CloseWindow(*form);
    }
    EXPECT_TRUE(host.started.empty());
    EXPECT_TRUE(FilesIn(backupFolder, L"*-BD.DB").empty());
    EXPECT_TRUE(FilesIn(workFolder).empty());
    {
        auto form = OpenForm(host);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].text,
                  L"No se pudo hacer la última copia de seguridad: no se encontró sqlite3.exe en Q:\\SIN_SHELL.\r\n\r\n"
                  L"Las copias de seguridad se guardan en Q:\\BACKUP_ARCANDORA.");
        EXPECT_EQ(host.messages[0].flags, static_cast<UINT>(MB_OK));
    }
    auto third = OpenForm(host);
    EXPECT_EQ(host.messages.size(), 1u);
    RemoveTree(host.installFolder);
}

// With nowhere to record the outcome for the next start, it is told now.
TEST_F(Backup, AnInstallFolderThatCannotBeWrittenIsToldAtOnceAndNothingIsCopied) {
    host.installFolder = drive + L":\\NO_EXISTE";
    const auto notice = MakeBackup(host, L"Q", BackupWay::Batch);
    ASSERT_TRUE(notice.has_value());
    EXPECT_EQ(notice->find(L"No se pudo hacer la copia de seguridad: no se pudo escribir en Q:\\NO_EXISTE."), 0u) << *notice;
    EXPECT_TRUE(host.started.empty());
    EXPECT_TRUE(FilesIn(backupFolder, L"*-BD.DB").empty());
    EXPECT_FALSE(MakeBackup(host, L"", BackupWay::Batch).has_value());

    // At the close it is a notice: OK only, no icon.
    host.installFolder = install;
    auto form = OpenForm(host);
    SetBoxText(form->Control(Id::Text4), L"Q");
    host.installFolder = drive + L":\\NO_EXISTE";
    CloseWindow(*form);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, *notice);
    EXPECT_EQ(host.messages[0].flags, static_cast<UINT>(MB_OK));
}

// A batch holds its life file open for as long as it runs, however long
// that is; one that holds it no more was cut short (killed, or never
// started), which the next start says at once.
TEST_F(Backup, ARunCutShortIsToldAtTheNextStartAndOneStillGoingWaitsForALaterStart) {
    auto closeAt = [&](int hour, int minute) {
        host.SetNow(2026, 12, 6, hour, minute, 5);
        auto form = OpenForm(host);
        SetBoxText(form->Control(Id::Text4), L"Q");
        CloseWindow(*form);  // the batch is never run: it stays as a killed one would
    };
    auto startAt = [&](int hour, int minute) {
        host.SetNow(2026, 12, 6, hour, minute, 0);
        auto form = OpenForm(host);
    };
    auto cutTold = [&](size_t n) {
        ASSERT_EQ(host.messages.size(), n);
        EXPECT_NE(host.messages[n - 1].text.find(L"la copia se interrumpió antes de terminar"), std::wstring::npos);
    };
    closeAt(14, 30);
    ASSERT_TRUE(FileExists(batchPath));
    startAt(14, 32);
    cutTold(1);
    EXPECT_TRUE(FilesIn(workFolder).empty()) << "the cut run's files are removed";
    startAt(14, 33);
    EXPECT_EQ(host.messages.size(), 1u);

    closeAt(14, 40);
    // The handle the batch inherited, as it holds it.
    HANDLE batch = CreateFileW((workFolder + L"\\RESPALDO-261206144005.ACTIVA").c_str(), GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(batch, INVALID_HANDLE_VALUE);
    startAt(16, 0);
    EXPECT_EQ(host.messages.size(), 1u) << "an hour and a half on, the batch still runs";
    EXPECT_TRUE(FileExists(BatchFor(L"261206144005")));
    CloseHandle(batch);
    startAt(16, 1);
    cutTold(2);

    // A batch of an earlier version has no life file: it is taken to run for
    // ten minutes after its stamp, and after them while the SQLite shell
    // holds one of its files.
    closeAt(16, 40);
    const std::wstring older = BatchFor(L"261206164005");
    ASSERT_TRUE(FileExists(older));
    ASSERT_TRUE(DeleteFileW((workFolder + L"\\RESPALDO-261206164005.ACTIVA").c_str()));
    startAt(16, 45);
    EXPECT_EQ(host.messages.size(), 2u) << "five minutes on, it may still be running";
    HANDLE shell = CreateFileW((workFolder + L"\\RESPALDO-261206164005.COPIA").c_str(), GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(shell, INVALID_HANDLE_VALUE);
    startAt(16, 55);
    EXPECT_EQ(host.messages.size(), 2u) << "the shell still dumps its snapshot";
    CloseHandle(shell);
    startAt(16, 56);
    cutTold(3);
    EXPECT_FALSE(FileExists(older));
}

TEST_F(Backup, OnlyTheLatestRunSpeaksAndOlderResultsAreRemoved) {
    const std::wstring failed = install + L"\\RESPALDO-261206100000.TXT", ok = install + L"\\RESPALDO-261206110000.TXT";
    WriteBytes(failed, "FALLO UNIDAD Q:\\BACKUP_ARCANDORA\r\n");
    WriteBytes(ok, "OK 3 Q:\\BACKUP_ARCANDORA\\261206110000-BD.DB\r\n");
    // Its batch was stopped after writing its result, before deleting its work files.
    CreateDirectoryW(backupFolder.c_str(), nullptr);
    CreateDirectoryW(workFolder.c_str(), nullptr);
    for (const wchar_t* ext : {L".BAT", L".ACTIVA", L".COPIA", L".BACKUP", L".OK"})
        WriteBytes(workFolder + L"\\RESPALDO-261206110000" + ext, "left");
    { auto form = OpenForm(host); }
    EXPECT_TRUE(host.messages.empty()) << "a later backup succeeded";
    EXPECT_TRUE(FilesIn(workFolder).empty());
    EXPECT_FALSE(FileExists(failed));
    EXPECT_EQ(ReadBytes(ok), "VISTO 3 Q:\\BACKUP_ARCANDORA\\261206110000-BD.DB\r\n");  // kept, as read

    WriteBytes(install + L"\\RESPALDO-261206120000.TXT", "FALLO CARPETA Q:\\BACKUP_ARCANDORA\r\n");
    { auto form = OpenForm(host); }
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find(L"no se pudo escribir en Q:\\BACKUP_ARCANDORA"), std::wstring::npos);
    EXPECT_EQ(ReadBytes(install + L"\\RESPALDO-261206120000.TXT"), "AVISADO CARPETA Q:\\BACKUP_ARCANDORA\r\n");
    // The last checked copy's result stays, saying when it was made, until
    // a later copy is checked.
    EXPECT_EQ(ReadBytes(ok), "VISTO 3 Q:\\BACKUP_ARCANDORA\\261206110000-BD.DB\r\n");
    WriteBytes(install + L"\\RESPALDO-261206130000.TXT", "OK 4 Q:\\BACKUP_ARCANDORA\\261206130000-BD.DB\r\n");
    { auto form = OpenForm(host); }
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(FilesIn(install, L"RESPALDO-*.TXT"), std::vector<std::wstring>{L"RESPALDO-261206130000.TXT"});
}

// A result file without one whole line (empty, cut short as a crash leaves
// it, or holding nothing the program writes) is a run whose outcome is not
// known: the next start says so once, unless its copy is there (a copy gets
// its stamped name only once checked).  One being written is left alone.
TEST_F(Backup, AResultFileWithoutAWholeLineIsARunOfUnknownOutcomeToldOnce) {
    const std::wstring empty = install + L"\\RESPALDO-261206100000.TXT";
    WriteBytes(empty, "");
    CreateDirectoryW(backupFolder.c_str(), nullptr);
    CreateDirectoryW(workFolder.c_str(), nullptr);
    WriteBytes(workFolder + L"\\RESPALDO-261206100000.COPIA", "a snapshot left behind");
    WriteBytes(workFolder + L"\\RESPALDO-261206100000.BAT", "its batch");
    { auto form = OpenForm(host); }
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              L"No se sabe cómo terminó la copia de seguridad empezada el 12/6/2026 a las 10:00: el archivo " + empty +
                  L", que lo guarda, está vacío o no se puede leer (puede que el equipo se apagara mientras se "
                  L"escribía).\r\n\r\nEsa copia, 261206100000-BD.DB, no está en Q:\\BACKUP_ARCANDORA. La próxima "
                  L"copia se hará al cerrar Arcandora.");
    EXPECT_EQ(host.messages[0].flags, static_cast<UINT>(MB_OK));
    EXPECT_EQ(ReadBytes(empty), "AVISADO DESCONOCIDO Q:\\BACKUP_ARCANDORA\r\n");
    EXPECT_TRUE(FilesIn(workFolder).empty()) << "no batch of it runs: what it left goes";
    { auto form = OpenForm(host); }
    EXPECT_EQ(host.messages.size(), 1u);

    // Cut short before its line end, its checked copy in the backup folder:
    // it ended well, and says nothing.
    const std::wstring cut = install + L"\\RESPALDO-261206110000.TXT";
    WriteBytes(cut, "OK 3 Q:\\BACKUP_ARC");
    WriteBytes(backupFolder + L"\\261206110000-BD.DB", "a checked copy");
    { auto form = OpenForm(host); }
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(ReadBytes(cut), "VISTO ? Q:\\BACKUP_ARCANDORA\\261206110000-BD.DB\r\n");

    // Being written by another program: left for a later start, untouched.
    const std::wstring writing = install + L"\\RESPALDO-261206120000.TXT";
    HANDLE writer = CreateFileW(writing.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    { auto form = OpenForm(host); }
    EXPECT_EQ(host.messages.size(), 1u);
    const std::string line = "FALLO UNIDAD Q:\\BACKUP_ARCANDORA\r\n";
    DWORD written = 0;
    WriteFile(writer, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(writer);
    { auto form = OpenForm(host); }
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_NE(host.messages[1].text.find(L"la unidad Q: no existe"), std::wstring::npos);

    // A line the program never writes, superseded by a later run: removed.
    WriteBytes(install + L"\\RESPALDO-261206130000.TXT", "XYZ 1 2\r\n");
    WriteBytes(install + L"\\RESPALDO-261206140000.TXT", "OK 3 Q:\\BACKUP_ARCANDORA\\261206140000-BD.DB\r\n");
    { auto form = OpenForm(host); }
    EXPECT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(FilesIn(install, L"RESPALDO-*.TXT"), std::vector<std::wstring>{L"RESPALDO-261206140000.TXT"});
}

// The line of "Archivo" for a menu of the window, as it reads when opened.
std::wstring LastBackupLine(Form1& form, bool* greyed = nullptr) {
    HMENU archivo = GetSubMenu(GetMenu(form.Hwnd()), 0);
    SendMessageW(form.Hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(archivo), 0);
    const UINT line = static_cast<UINT>(Form1::Command::LastBackup);
    wchar_t text[128] = {};
    GetMenuStringW(archivo, line, text, 128, MF_BYCOMMAND);
    if (greyed) *greyed = (GetMenuState(archivo, line, MF_BYCOMMAND) & MF_GRAYED) != 0;
    return text;
}

// With no backup drive set, each start says so once: the actions after it
// that would back up (Guardar, the close) say nothing more.  A drive emptied
// during the run is told at the first backup that cannot be made.  Archivo's
// greyed line says when the last checked copy was made, as the results say
// when the menu opens.
TEST_F(Backup, ANoDriveIsToldOncePerStartAndArchivoSaysWhenTheLastCheckedCopyWasMade) {
    const std::wstring noDrive =
        L"No hay ninguna unidad para las copias de seguridad, así que al cerrar Arcandora no se hará ninguna copia "
        L"del libro.\r\n\r\nEscriba la letra de una unidad (por ejemplo, D) en «Unidad de Backup», bajo "
        L"«Configurar», y pulse «Guardar».";
    WriteBytes(program + L"\\unidad.inf", "\r\n");
    for (int start = 1; start <= 2; ++start) {
        auto form = OpenForm(host);
        ASSERT_EQ(host.messages.size(), static_cast<size_t>(start));
        EXPECT_EQ(host.messages.back().text, noDrive);
        EXPECT_EQ(host.messages.back().flags, static_cast<UINT>(MB_OK));
        bool greyed = false;
        EXPECT_EQ(LastBackupLine(*form, &greyed), L"Aún no hay ninguna copia de seguridad comprobada");
        EXPECT_TRUE(greyed);
        ClickLabel(form->Control(Id::Label9));
        Click(form->Control(Id::Command6));
        CloseWindow(*form);
        EXPECT_EQ(host.messages.size(), static_cast<size_t>(start));
    }
    EXPECT_TRUE(host.started.empty());

    FastHost h{L""};
    h.installFolder = install;
    h.programFolder = program;
    h.now = host.now;
    WriteBytes(program + L"\\unidad.inf", "Q\r\n");
    WriteBytes(install + L"\\RESPALDO-261206110000.TXT", "OK 3 Q:\\BACKUP_ARCANDORA\\261206110000-BD.DB\r\n");
    auto form = OpenForm(h);
    EXPECT_TRUE(h.messages.empty());
    EXPECT_EQ(LastBackupLine(*form), L"Última copia de seguridad comprobada: 12/6/2026 a las 11:00");
    // Guardar's batch ends while the window stays open.
    ClickLabel(form->Control(Id::Label9));
    Click(form->Control(Id::Command6));
    ASSERT_EQ(h.started, std::vector<std::wstring>{batchPath});
    WriteBytes(install + L"\\RESPALDO-261206143005.TXT", "OK 3 Q:\\BACKUP_ARCANDORA\\261206143005-BD.DB\r\n");
    EXPECT_EQ(LastBackupLine(*form), L"Última copia de seguridad comprobada: 12/6/2026 a las 14:30");
    SetBoxText(form->Control(Id::Text4), L"");
    ClickLabel(form->Control(Id::Label9));
    Click(form->Control(Id::Command6));
    CloseWindow(*form);
    ASSERT_EQ(h.messages.size(), 1u);
    EXPECT_EQ(h.messages[0].text, noDrive);
    EXPECT_EQ(h.started.size(), 1u);
}

TEST_F(Backup, TheSessionsEndMakesTheCheckedCopyItselfAndNoBatch) {
    auto form = OpenForm(host);
    AddRows(install, 3);
    SetBoxText(form->Control(Id::Text4), L"Q");
    SendMessageW(form->Hwnd(), WM_ENDSESSION, FALSE, 0);  // the session goes on: nothing happens
    EXPECT_TRUE(FilesIn(install, L"RESPALDO-*.TXT").empty());
    SendMessageW(form->Hwnd(), WM_ENDSESSION, TRUE, 0);

    EXPECT_TRUE(host.started.empty());
    EXPECT_EQ(FilesIn(backupFolder, L"*-BD.DB"), std::vector<std::wstring>{L"261206143005-BD.DB"});
    const LedgerCopy copy = InspectLedgerCopy(backupFolder + L"\\261206143005-BD.DB");
    EXPECT_EQ(copy.verdict, LedgerCopy::Verdict::Ok);
    EXPECT_EQ(RowsOf(backupFolder + L"\\261206143005-BD.DB"), RowsOf(install + L"\\BD.db"));
    EXPECT_TRUE(FilesIn(workFolder).empty());
    EXPECT_EQ(ResultOf(L"261206143005"), "OK 3 Q:\\BACKUP_ARCANDORA\\261206143005-BD.DB\r\n");
    // Should a close still come, it makes no second copy and starts no batch.
    CloseWindow(*form);
    EXPECT_TRUE(host.started.empty());
    EXPECT_EQ(FilesIn(backupFolder, L"*-BD.DB").size(), 1u);
}

TEST_F(Backup, ATakenStampARunningBatchAndOldFilesAreNeverWrittenTo) {
    CreateDirectoryW(backupFolder.c_str(), nullptr);
    CreateDirectoryW(workFolder.c_str(), nullptr);
    const struct {
        std::wstring path;
        std::string bytes;
    } earlier[] = {
        {workFolder + L"\\BACKUP.BACKUP", "old dump"},
        {backupFolder + L"\\261205100000-BD.DB", "older backup"},
        {backupFolder + L"\\261206143005-BD.DB", "a backup with this very stamp"},  // the clock was set back
        {BatchFor(L"261206143006"), "a batch of another instance, still running\r\n"},
        {workFolder + L"\\RESPALDO-261206143006.COPIA", "its snapshot"},
    };
    for (const auto& f : earlier) WriteBytes(f.path, f.bytes);
    auto form = OpenForm(host);
    SetBoxText(form->Control(Id::Text4), L"Q");
    CloseWindow(*form);
    ASSERT_EQ(host.started, std::vector<std::wstring>{BatchFor(L"261206143007")});
    EXPECT_EQ(host.batches[0], ExpectedBatch("261206143007"));
    EXPECT_EQ(host.waited, 0u);
    for (const auto& f : earlier) EXPECT_EQ(ReadBytes(f.path), f.bytes) << f.path;

    // The clock set back an hour: the copy is named by the clock again.
    host.SetNow(2026, 12, 6, 13, 30, 5);
    auto again = OpenForm(host);
    SetBoxText(again->Control(Id::Text4), L"Q");
    CloseWindow(*again);
    ASSERT_EQ(host.started.size(), 2u);
    EXPECT_EQ(host.started[1], BatchFor(L"261206133005"));
}

// One backup made while the clock was a year ahead misdates no later copy:
// with the clock put back each copy is named by the time it was made, and
// the next start speaks for the run made last, not for the one stamped latest.
TEST_F(Backup, AfterTheClockWasAheadCopiesAreNamedByTheClockAndTheLastRunSpeaks) {
    // The batch as it ends: its result written, its work files gone.
    auto finish = [&](const std::wstring& stamp, const std::string& result) {
        WriteBytes(install + L"\\RESPALDO-" + stamp + L".TXT", result);
        RemoveWorkFiles(WorkStem(workFolder, stamp));
    };
    auto closeAt = [&](int year, int day, int hour) {
        host.SetNow(year, 12, day, hour, 30, 5);
        auto form = OpenForm(host);
        SetBoxText(form->Control(Id::Text4), L"Q");
        CloseWindow(*form);
    };
    closeAt(2027, 6, 14);
    finish(L"271206143005", "OK 0 Q:\\BACKUP_ARCANDORA\\271206143005-BD.DB\r\n");
    closeAt(2026, 6, 14);
    EXPECT_TRUE(host.messages.empty()) << "the copy made a year ahead was checked";
    finish(L"261206143005", "FALLO CARPETA Q:\\BACKUP_ARCANDORA\r\n");
    EXPECT_EQ(host.started, (std::vector<std::wstring>{BatchFor(L"271206143005"), BatchFor(L"261206143005")}));

    // The run made last failed: it is told, though an older run has a later stamp.
    host.SetNow(2026, 12, 6, 14, 40, 0);
    { auto form = OpenForm(host); }
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find(L"no se pudo escribir en Q:\\BACKUP_ARCANDORA"), std::wstring::npos);
    // The told failure's result stays, and the checked copy's, made a year ahead.
    EXPECT_EQ(FilesIn(install, L"RESPALDO-*.TXT"),
              (std::vector<std::wstring>{L"RESPALDO-261206143005.TXT", L"RESPALDO-271206143005.TXT"}));

    // The hour put back in the autumn while the window stays open: "Guardar"
    // at 02:30, the close at 02:10 of the hour that comes again.
    host.SetNow(2026, 12, 7, 2, 30, 5);
    auto form = OpenForm(host);
    SetBoxText(form->Control(Id::Text4), L"Q");
    ClickLabel(form->Control(Id::Label9));
    Click(form->Control(Id::Command6));
    finish(L"261207023005", "OK 0 Q:\\BACKUP_ARCANDORA\\261207023005-BD.DB\r\n");
    host.SetNow(2026, 12, 7, 2, 10, 0);
    CloseWindow(*form);
    EXPECT_EQ(host.started.back(), BatchFor(L"261207021000"));
    finish(L"261207021000", "FALLO UNIDAD Q:\\BACKUP_ARCANDORA\r\n");
    host.SetNow(2026, 12, 7, 2, 20, 0);
    { auto again = OpenForm(host); }
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_NE(host.messages[1].text.find(L"la unidad Q: no existe"), std::wstring::npos) << ToUtf8(host.messages[1].text);
}

}  // namespace
}  // namespace arc::test
