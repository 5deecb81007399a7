// End to end: the real window, the real clock, the batch started for real
// with Wine's cmd and the sqlite3.exe of the build in the install folder.
// Each case leaves its backups and a copy of the live database in
// Q:\results\<case> for the suite's script, which reads them with Debian's
// sqlite3; here the files themselves are checked.
#include "BackupFixture.h"

#include "platform/runtime/Text.h"
#include "platform/runtime/TextFile.h"

#include <cwctype>

namespace arc::test {
namespace {

class RealClockHost : public TestHost {
public:
    using TestHost::TestHost;
    SYSTEMTIME Now() override {
        SYSTEMTIME t;
        GetLocalTime(&t);
        return t;
    }
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
        if (*income) Type(form.Control(L"Text1"), income);
        if (*expense) Type(form.Control(L"Text2"), expense);
        Type(form.Control(L"Text3"), text);
        Click(form.Control(L"Command2"));
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

    // Waits, pumping messages, until the batch has removed itself.
    bool BatchGone(DWORD limitMs = 60000) {
        DWORD start = GetTickCount();
        while (FileExists(batchPath)) {
            if (GetTickCount() - start > limitMs) return false;
            real.Wait(50);
        }
        return true;
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

    RealClockHost real{L""};
};

TEST_F(EndToEnd, ClosingTheWindowLeavesOneCompleteBackup) {
    auto form = OpenForm(real);
    FillLedger(*form);
    Type(form->Control(L"Text4"), drive);
    HWND window = form->Hwnd();
    CloseWindow(*form);
    EXPECT_FALSE(IsWindow(window));
    ASSERT_EQ(real.started, std::vector<std::wstring>{batchPath});
    ASSERT_TRUE(BatchGone()) << "the batch did not remove itself";
    CollectResults(L"close", 1);
}

TEST_F(EndToEnd, GuardarThenCloseLeaveTwoDistinctCompleteBackups) {
    auto form = OpenForm(real);
    FillLedger(*form);
    ClickLabel(form->Control(L"Label9"));
    Type(form->Control(L"Text4"), drive);
    Click(form->Control(L"Command6"));
    CloseWindow(*form);  // at once, while the first batch may still run
    ASSERT_EQ(real.started.size(), 2u);
    ASSERT_TRUE(BatchGone()) << "the batch did not remove itself";
    CollectResults(L"guardar_close", 2);
    EXPECT_EQ(ReadBytes(program + L"\\unidad.inf"), ToAnsi(drive) + "\r\n");
}

}  // namespace
}  // namespace arc::test
