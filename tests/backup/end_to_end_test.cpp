// End to end: the real window, the real clock, the batch started for real
// with Wine's cmd and the sqlite3.exe of the build in the install folder.
// Each case leaves its backups and a copy of the live database in
// Q:\results\<case> for the suite's script, which reads them with Debian's
// sqlite3; here the files themselves and the results are checked.
#include "BackupFixture.h"

#include "ledger/Backup.h"
#include "platform/runtime/Text.h"
#include "platform/runtime/TextFile.h"

#include <tlhelp32.h>

#include <cwctype>
#include <set>

namespace arc::test {
namespace {

// A host on the computer's clock.
struct RealClockHost : TestHost {
    RealClockHost() : TestHost(L"") { realClock = true; }
};

class EndToEnd : public DriveTest {
protected:
    void SetUp() override {
        DriveTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_TRUE(FileExists(install + L"\\sqlite3.exe")) << "the script installs the SQLite shell";
        real.installFolder = install;
        real.programFolder = program;
        real.startForReal = true;
    }

    // Types one movement and registers it.
    static void Register(Form1& form, const wchar_t* income, const wchar_t* expense, const wchar_t* text) {
        if (*income) SetBoxText(form.Control(Id::Text1), income);
        if (*expense) SetBoxText(form.Control(Id::Text2), expense);
        SetBoxText(form.Control(Id::Text3), text);
        Click(form.Control(Id::Command2));
    }

    // A ledger with rows, accents and a deleted last row, so that the
    // AUTOINCREMENT counter is ahead of the highest ID.
    void FillLedger(Form1& form) {
        Register(form, L"150.75", L"", L"Cuota de socios");
        Register(form, L"", L"20.1", L"Compra de café y azúcar");
        Register(form, L"1000", L"", L"Donación 'especial'");
        Register(form, L"", L"5", L"Se borra");
        ASSERT_TRUE(real.messages.empty());
        form.Database().CONEXION();
        form.Database().Execute(L"DELETE FROM FINANZAS WHERE ID = 4");
    }

    // Waits, pumping messages, until every batch started has removed itself
    // and ended: its life file, deleted with the other work files while the
    // batch still holds it, goes only when the batch's last handle closes.
    bool BatchesGone(DWORD limitMs = 60000) {
        DWORD start = GetTickCount();
        for (const auto& batch : real.started)
            while (FileExists(batch) || FileExists(batch.substr(0, batch.size() - 4) + kLifeExtension)) {
                if (GetTickCount() - start > limitMs) return false;
                real.Wait(50);
            }
        return true;
    }

    // The stamp of the n-th batch started.
    std::wstring StampOf(size_t n) const {
        const std::wstring& batch = real.started.at(n);
        return batch.substr(batch.size() - 16, 12);  // ...\RESPALDO-<stamp>.BAT
    }

    // The next start: at most one notice, which is returned ("" for none).
    std::wstring NoticeAtNextStart() {
        RealClockHost next;
        next.installFolder = install;
        next.programFolder = program;
        auto form = OpenForm(next);
        EXPECT_LE(next.messages.size(), 1u);
        return next.messages.empty() ? L"" : next.messages[0].text;
    }

    // Checks what the batches left, then moves the backups and a copy of the
    // live database to the case's result folder.
    void CollectResults(const std::wstring& caseName, size_t expectedBackups) {
        EXPECT_TRUE(FilesIn(workFolder).empty()) << "the work folder stays behind, empty";
        const auto backups = FilesIn(backupFolder, L"*-BD.DB");
        ASSERT_EQ(backups.size(), expectedBackups);
        for (const auto& name : backups) {
            ASSERT_EQ(name.size(), 18u) << name;
            for (size_t i = 0; i < 12; ++i) EXPECT_TRUE(std::iswdigit(name[i])) << name;
            EXPECT_GT(ReadBytes(backupFolder + L"\\" + name).size(), 0u) << name;
        }
        const std::wstring results = drive + L":\\results", out = results + L"\\" + caseName;
        CreateDirectoryW(results.c_str(), nullptr);
        RemoveTree(out);
        ASSERT_TRUE(CreateDirectoryW(out.c_str(), nullptr));
        for (const auto& name : backups)
            ASSERT_TRUE(MoveFileW((backupFolder + L"\\" + name).c_str(), (out + L"\\" + name).c_str()));
        ASSERT_TRUE(CopyFileW((install + L"\\BD.db").c_str(), (out + L"\\live.db").c_str(), FALSE));
    }

    RealClockHost real;
};

TEST_F(EndToEnd, ClosingTheWindowLeavesOneCompleteBackup) {
    auto form = OpenForm(real);
    FillLedger(*form);
    SetBoxText(form->Control(Id::Text4), drive);
    HWND window = form->Hwnd();
    CloseWindow(*form);
    EXPECT_FALSE(IsWindow(window));
    ASSERT_EQ(real.started.size(), 1u);
    ASSERT_TRUE(BatchesGone()) << "the batch did not remove itself";
    const std::wstring stamp = StampOf(0);
    EXPECT_EQ(ResultOf(stamp), "OK 3 Q:\\BACKUP_ARCANDORA\\" + ToAnsi(stamp) + "-BD.DB\r\n");
    CollectResults(L"close", 1);
    EXPECT_EQ(NoticeAtNextStart(), L"");
}

TEST_F(EndToEnd, GuardarThenCloseLeaveTwoDistinctCompleteBackups) {
    auto form = OpenForm(real);
    FillLedger(*form);
    ClickLabel(form->Control(Id::Label9));
    SetBoxText(form->Control(Id::Text4), drive);
    Click(form->Control(Id::Command6));
    CloseWindow(*form);  // at once, while the first batch may still run
    ASSERT_EQ(real.started.size(), 2u);
    ASSERT_TRUE(BatchesGone()) << "the batch did not remove itself";
    EXPECT_NE(StampOf(0), StampOf(1));
    CollectResults(L"guardar_close", 2);
    EXPECT_EQ(ReadBytes(program + L"\\unidad.inf"), ToAnsi(drive) + "\r\n");
}

TEST_F(EndToEnd, TakenStampsAreSkippedAndNeverWrittenTo) {
    auto form = OpenForm(real);
    FillLedger(*form);
    SetBoxText(form->Control(Id::Text4), drive);
    // Backups already carry the stamps of this second and the next two (a
    // clock set back, another instance): the new copy takes the first free one.
    CreateDirectoryW(backupFolder.c_str(), nullptr);
    std::vector<std::wstring> taken;
    for (int later = 0; later < 3; ++later) {
        SYSTEMTIME t = AddMilliseconds(real.Now(), later * 1000);
        wchar_t name[32];
        swprintf(name, 32, L"%02d%02d%02d%02d%02d%02d-BD.DB", t.wYear % 100, t.wMonth, t.wDay, t.wHour, t.wMinute,
                 t.wSecond);
        taken.push_back(backupFolder + L"\\" + name);
        WriteBytes(taken.back(), "an earlier copy");
    }
    CloseWindow(*form);
    ASSERT_EQ(real.started.size(), 1u);
    ASSERT_TRUE(BatchesGone());
    for (const auto& file : taken) {
        EXPECT_EQ(ReadBytes(file), "an earlier copy") << file;
        DeleteFileW(file.c_str());
    }
    CollectResults(L"taken", 1);
}

TEST_F(EndToEnd, ADamagedLedgerGetsNoStampedCopyAndTheNextStartSaysSo) {
    auto form = OpenForm(real);
    AddRows(install, 3000);
    // Garbage over a few data pages, as a failing disk leaves them, written
    // in place while the program keeps its connection.
    const std::string sound = ReadBytes(install + L"\\BD.db");
    {
        ASSERT_GT(ReadBytes(install + L"\\BD.db").size(), 40u * 4096);
        HANDLE f = CreateFileW((install + L"\\BD.db").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(f, INVALID_HANDLE_VALUE);
        const std::string garbage(3 * 4096, static_cast<char>(0xA5));
        DWORD written = 0;
        SetFilePointer(f, 20 * 4096, nullptr, FILE_BEGIN);
        EXPECT_TRUE(WriteFile(f, garbage.data(), static_cast<DWORD>(garbage.size()), &written, nullptr));
        CloseHandle(f);
    }
    SetBoxText(form->Control(Id::Text4), drive);
    CloseWindow(*form);
    ASSERT_EQ(real.started.size(), 1u);
    ASSERT_TRUE(BatchesGone());
    EXPECT_TRUE(FilesIn(backupFolder, L"*-BD.DB").empty());
    EXPECT_TRUE(FilesIn(workFolder).empty());
    EXPECT_EQ(ResultOf(StampOf(0)), "FALLO LECTURA Q:\\BACKUP_ARCANDORA\r\n");
    // The program cannot start on the damaged ledger; once it is repaired the
    // next start tells why the backup was not made.
    form.reset();
    WriteBytes(install + L"\\BD.db", sound);
    EXPECT_EQ(NoticeAtNextStart(),
              L"No se pudo hacer la última copia de seguridad: la base de datos no se pudo leer.\r\n\r\n"
              L"Las copias de seguridad se guardan en Q:\\BACKUP_ARCANDORA.");
    EXPECT_EQ(NoticeAtNextStart(), L"");
    DeleteFileW((install + L"\\BD.db").c_str());
}

TEST_F(EndToEnd, ADumpCutShortGetsNoStampedCopy) {
    auto form = OpenForm(real);
    AddRows(install, 3000);
    SetBoxText(form->Control(Id::Text4), drive);
    real.startForReal = false;  // the batch is written, then run here in two halves
    CloseWindow(*form);
    ASSERT_EQ(real.started.size(), 1u);
    std::vector<std::string> lines;
    const std::string batch = ReadBytes(real.started[0]);
    for (size_t at = 0, end; (end = batch.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(batch.substr(at, end - at));
    ASSERT_EQ(lines.size(), 7u);
    // Each half deletes itself last, so that its end can be seen.
    auto runHalf = [&](const std::wstring& name, std::vector<std::string> half) {
        const std::wstring path = workFolder + L"\\" + name;
        std::string text;
        half.push_back("del /q \"" + ToAnsi(path) + "\"");
        for (const auto& line : half) text += line + "\r\n";
        WriteBytes(path, text);
        real.startForReal = true;
        ASSERT_TRUE(real.StartHidden(path));
        for (DWORD start = GetTickCount(); FileExists(path) && GetTickCount() - start < 60000;) real.Wait(50);
        ASSERT_FALSE(FileExists(path));
    };
    runHalf(L"MITAD-1.BAT", {lines[0], lines[1]});
    // The drive fills while the dump is written: it ends half-way.
    const std::wstring dump = workFolder + L"\\RESPALDO-" + StampOf(0) + L".BACKUP";
    const std::string whole = ReadBytes(dump);
    ASSERT_GT(whole.size(), 100000u);
    WriteBytes(dump, whole.substr(0, whole.size() / 2));
    runHalf(L"MITAD-2.BAT", {lines[0], lines[2], lines[3], lines[4], lines[5], lines[6]});

    EXPECT_TRUE(FilesIn(backupFolder, L"*-BD.DB").empty());
    EXPECT_TRUE(FilesIn(workFolder).empty());
    EXPECT_EQ(ResultOf(StampOf(0)), "FALLO INCOMPLETA Q:\\BACKUP_ARCANDORA\r\n");
}

TEST_F(EndToEnd, ARegisterWhileTheBatchRunsSucceeds) {
    auto form = OpenForm(real);
    AddRows(install, 20000);
    SetBoxText(form->Control(Id::Text4), drive);
    Click(form->Control(Id::Command6));  // "Guardar": the batch starts, the window stays
    ASSERT_EQ(real.started.size(), 1u);
    ASSERT_TRUE(FileExists(real.started[0])) << "the batch ended before the register could meet it";
    Register(*form, L"7", L"", L"Durante la copia");
    EXPECT_TRUE(real.messages.empty()) << (real.messages.empty() ? L"" : real.messages[0].text);
    ASSERT_TRUE(BatchesGone());
    EXPECT_EQ(RowsOf(install + L"\\BD.db").size(), 20001u);
    const auto backups = FilesIn(backupFolder, L"*-BD.DB");
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(RowsOf(backupFolder + L"\\" + backups[0]).size(), 20000u) << "the copy is the ledger at the click";
}

// Ends the processes this one started and theirs (the batch's command
// interpreter and its SQLite shell), as a crash or a kill ends them.
void KillStartedProcesses() {
    std::set<DWORD> tree{GetCurrentProcessId()};
    std::vector<DWORD> started;
    for (bool grew = true; grew;) {
        grew = false;
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        ASSERT_NE(snapshot, INVALID_HANDLE_VALUE);
        PROCESSENTRY32W entry{sizeof entry};
        for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
            if (tree.count(entry.th32ParentProcessID) && tree.insert(entry.th32ProcessID).second) {
                started.push_back(entry.th32ProcessID);
                grew = true;
            }
        CloseHandle(snapshot);
    }
    ASSERT_FALSE(started.empty()) << "no batch runs";
    for (DWORD id : started)
        if (HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
            TerminateProcess(p, 1);
            WaitForSingleObject(p, 10000);
            CloseHandle(p);
        }
}

// However soon the next start comes, it knows whether the batch still runs.
TEST_F(EndToEnd, ABatchKilledWhileItRunsIsToldAtTheNextStart) {
    auto form = OpenForm(real);
    AddRows(install, 20000);
    SetBoxText(form->Control(Id::Text4), drive);
    Click(form->Control(Id::Command6));
    ASSERT_EQ(real.started.size(), 1u);
    EXPECT_EQ(NoticeAtNextStart(), L"");
    ASSERT_TRUE(FileExists(real.started[0])) << "the batch ended before it could be killed";
    KillStartedProcesses();
    EXPECT_EQ(NoticeAtNextStart(),
              L"No se pudo hacer la última copia de seguridad: la copia se interrumpió antes de terminar (por "
              L"ejemplo, al apagarse el equipo).\r\n\r\nLas copias de seguridad se guardan en Q:\\BACKUP_ARCANDORA.");
    EXPECT_TRUE(FilesIn(workFolder).empty());
    EXPECT_TRUE(FilesIn(backupFolder, L"*-BD.DB").empty());
}

}  // namespace
}  // namespace arc::test
