// BACKUP as the close and "Guardar" run it: the batch file's exact bytes,
// the stamp, bad drive texts, leftovers of earlier runs and the waits that
// keep two runs from sharing names.  The batch is recorded, not run.
#include "BackupFixture.h"

#include "platform/runtime/TextFile.h"

namespace arc::test {
namespace {

using Backup = DriveTest;

// The batch for drive Q and a stamp, as the close must write it.
std::string ExpectedBatch(const std::string& stamp) {
    return "@echo off\r\n"
           "echo .dump | Q:\\ARCANDORA\\sqlite3.exe Q:\\ARCANDORA\\BD.DB > Q:\\BACKUP_ARCANDORA\\ARCH_TMP\\BACKUP.BACKUP\r\n"
           "Q:\\ARCANDORA\\sqlite3.exe Q:\\BACKUP_ARCANDORA\\" + stamp +
           "-BD.DB < Q:\\BACKUP_ARCANDORA\\ARCH_TMP\\BACKUP.BACKUP\r\n"
           "del /q \"Q:\\BACKUP_ARCANDORA\\ARCH_TMP\\BACKUP.BACKUP\"\r\n"
           "del /q Q:\\BACKUP_ARCANDORA\"\\ARCH_TMP\\RESPALDO.BAT\r\n";
}

TEST_F(Backup, CloseWritesTheFiveLinesAndStartsTheBatchByItsPath) {
    ASSERT_EQ(drive, L"Q");
    auto form = OpenForm(host);
    Type(form->Control(L"Text4"), L"Q");
    HWND window = form->Hwnd();
    CloseWindow(*form);

    EXPECT_FALSE(IsWindow(window));
    ASSERT_EQ(host.started, std::vector<std::wstring>{batchPath});
    // 6 December 2026, 14:30:05: the minute follows the hour, not the month again.
    EXPECT_EQ(ReadBytes(batchPath), ExpectedBatch("261206143005"));
    EXPECT_EQ(host.batches[0], ExpectedBatch("261206143005"));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.waited, 0u);
    // The batch does the copying: the program writes nothing else there.
    EXPECT_EQ(FilesIn(workFolder), std::vector<std::wstring>{L"RESPALDO.BAT"});
    EXPECT_EQ(FilesIn(backupFolder), std::vector<std::wstring>{L"ARCH_TMP"});
}

TEST_F(Backup, StampIsYearMonthDayHourMinuteSecondInTwoDigitsEach) {
    auto form = OpenForm(host);
    Type(form->Control(L"Text4"), L"Q");
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
        host.SetNow(c.y, c.mo, c.d, c.h, c.mi, c.s);
        form->BACKUP();
    }
    ASSERT_EQ(host.batches.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(host.batches[i], ExpectedBatch(cases[i].stamp)) << i;
    EXPECT_EQ(host.waited, 0u);
}

TEST_F(Backup, DriveTextsThatNameNoDriveCreateNothingAndTheCloseGoesAhead) {
    const auto rootBefore = FilesIn(drive + L":");
    wchar_t cwd[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, cwd);
    const auto cwdBefore = FilesIn(cwd);
    for (const wchar_t* text : {L"Q:", L"", L"Q:\\", L" Q"}) {
        FastHost h{L""};
        h.installFolder = install;
        h.programFolder = program;
        auto form = OpenForm(h);
        Type(form->Control(L"Text4"), text);
        HWND window = form->Hwnd();
        CloseWindow(*form);
        EXPECT_FALSE(IsWindow(window)) << text;
        EXPECT_TRUE(h.messages.empty()) << text;
        EXPECT_TRUE(h.started.empty()) << text;
        EXPECT_EQ(h.waited, 0u) << text;
    }
    EXPECT_EQ(FilesIn(drive + L":"), rootBefore);
    EXPECT_EQ(FilesIn(cwd), cwdBefore);
}

TEST_F(Backup, EndSessionBacksUpToo) {
    auto form = OpenForm(host);
    Type(form->Control(L"Text4"), L"Q");
    SendMessageW(form->Hwnd(), WM_ENDSESSION, TRUE, 0);
    ASSERT_EQ(host.started, std::vector<std::wstring>{batchPath});
    EXPECT_EQ(host.batches[0], ExpectedBatch("261206143005"));
}

TEST_F(Backup, ExistingFoldersAndAnOldDumpAreUsedAsTheyAre) {
    CreateDirectoryW(backupFolder.c_str(), nullptr);
    CreateDirectoryW(workFolder.c_str(), nullptr);
    WriteBytes(workFolder + L"\\BACKUP.BACKUP", "old dump");
    WriteBytes(backupFolder + L"\\261205100000-BD.DB", "older backup");
    auto form = OpenForm(host);
    Type(form->Control(L"Text4"), L"Q");
    CloseWindow(*form);
    ASSERT_EQ(host.started.size(), 1u);
    EXPECT_EQ(ReadBytes(batchPath), ExpectedBatch("261206143005"));
    EXPECT_EQ(host.waited, 0u);
    // The dump is the batch's to replace; earlier backups are never touched.
    EXPECT_EQ(ReadBytes(workFolder + L"\\BACKUP.BACKUP"), "old dump");
    EXPECT_EQ(ReadBytes(backupFolder + L"\\261205100000-BD.DB"), "older backup");
}

TEST_F(Backup, ABatchThatNeverEndsIsOverwrittenAfterThirtySeconds) {
    CreateDirectoryW(backupFolder.c_str(), nullptr);
    CreateDirectoryW(workFolder.c_str(), nullptr);
    WriteBytes(batchPath, "left by a run that did not finish\r\n");
    auto form = OpenForm(host);
    Type(form->Control(L"Text4"), L"Q");
    HWND window = form->Hwnd();
    CloseWindow(*form);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_GE(host.waited, 30000u);
    EXPECT_LT(host.waited, 30200u);
    ASSERT_EQ(host.batches.size(), 1u);
    EXPECT_EQ(host.batches[0], ExpectedBatch("261206143035"));
}

TEST_F(Backup, GuardarThenCloseInTheSameSecondUseTwoStamps) {
    auto form = OpenForm(host);
    Type(form->Control(L"Text4"), L"Q");
    host.finishBatches = true;  // the first batch is gone by the time the window closes
    ClickLabel(form->Control(L"Label9"));
    Click(form->Control(L"Command6"));
    CloseWindow(*form);
    ASSERT_EQ(host.batches.size(), 2u);
    EXPECT_EQ(host.batches[0], ExpectedBatch("261206143005"));
    EXPECT_EQ(host.batches[1], ExpectedBatch("261206143006"));
    EXPECT_GE(host.waited, 1000u);
    EXPECT_LT(host.waited, 1100u);
}

TEST_F(Backup, GuardarThenCloseWhileTheFirstBatchRunsWaitsForIt) {
    auto form = OpenForm(host);
    Type(form->Control(L"Text4"), L"Q");
    ClickLabel(form->Control(L"Label9"));
    Click(form->Control(L"Command6"));
    ASSERT_TRUE(FileExists(batchPath));
    // The first batch takes 2.5 s; meanwhile the user closes the window.
    host.onWait = [&] {
        if (host.waited >= 2500) DeleteFileW(batchPath.c_str());
    };
    CloseWindow(*form);
    ASSERT_EQ(host.batches.size(), 2u);
    EXPECT_EQ(host.batches[0], ExpectedBatch("261206143005"));
    EXPECT_EQ(host.batches[1], ExpectedBatch("261206143007"));
    EXPECT_GE(host.waited, 2500u);
    EXPECT_LT(host.waited, 2700u);
}

TEST_F(Backup, ACloseArrivingWhileTheBackupWaitsIsNotASecondBackup) {
    auto form = OpenForm(host);
    Type(form->Control(L"Text4"), L"Q");
    CreateDirectoryW(backupFolder.c_str(), nullptr);
    CreateDirectoryW(workFolder.c_str(), nullptr);
    WriteBytes(batchPath, "earlier\r\n");
    HWND window = form->Hwnd();
    bool posted = false;
    host.onWait = [&] {
        if (!posted) PostMessageW(window, WM_CLOSE, 0, 0);  // a second close while the first waits
        posted = true;
        if (host.waited >= 500) DeleteFileW(batchPath.c_str());
    };
    ClickLabel(form->Control(L"Label9"));
    Click(form->Control(L"Command6"));
    EXPECT_FALSE(IsWindow(window));
    ASSERT_EQ(host.batches.size(), 1u);
    EXPECT_EQ(host.batches[0], ExpectedBatch("261206143005"));
}

}  // namespace
}  // namespace arc::test
