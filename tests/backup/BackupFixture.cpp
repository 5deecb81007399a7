#include "BackupFixture.h"

#include "ledger/LedgerDatabase.h"
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "platform/runtime/SystemHost.h"
#include "platform/runtime/Text.h"

#include <commctrl.h>

#include <algorithm>

namespace arc::test {

void FastHost::Wait(DWORD milliseconds) {
    waited += milliseconds;
    now = AddMilliseconds(now, milliseconds);
    PumpPendingMessages();
    if (onWait) onWait();
}

bool FastHost::StartHidden(const std::wstring& path) {
    batches.push_back(ReadBytes(path));
    settingsAtStart.push_back(ReadBytes(programFolder + L"\\unidad.inf") + "|" +
                              ReadBytes(programFolder + L"\\entidad.inf"));
    if (finishBatches) DeleteFileW(path.c_str());
    return TestHost::StartHidden(path);
}

SYSTEMTIME AddMilliseconds(const SYSTEMTIME& t, long long ms) {
    FILETIME ft;
    SystemTimeToFileTime(&t, &ft);
    ULARGE_INTEGER v{{ft.dwLowDateTime, ft.dwHighDateTime}};
    v.QuadPart += static_cast<ULONGLONG>(ms) * 10000;
    ft = {v.LowPart, v.HighPart};
    SYSTEMTIME out;
    FileTimeToSystemTime(&ft, &out);
    return out;
}

std::vector<std::wstring> FilesIn(const std::wstring& folder, const std::wstring& pattern) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((folder + L"\\" + pattern).c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        std::wstring name = fd.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
}

void DriveTest::SetUp() {
    wchar_t letter[8] = {};
    if (!GetEnvironmentVariableW(L"ARC_BACKUP_DRIVE", letter, 8) || !letter[0])
        GTEST_SKIP() << "no test drive: run the suite through backup_suite.sh";
    drive = letter;
    install = drive + L":\\ARCANDORA";
    program = drive + L":\\PROG";
    backupFolder = drive + L":\\BACKUP_ARCANDORA";
    workFolder = backupFolder + L"\\ARCH_TMP";
    batchPath = BatchFor(L"261206143005");
    RemoveTree(backupFolder);
    RemoveTree(program);
    CreateDirectoryW(program.c_str(), nullptr);
    // The drive is set, as in every installation after its first start.
    WriteBytes(program + L"\\unidad.inf", ToAnsi(drive) + "\r\n");
    DeleteFileW((install + L"\\BD.db").c_str());
    for (const auto& name : FilesIn(install, L"RESPALDO-*.TXT")) DeleteFileW((install + L"\\" + name).c_str());
    host.installFolder = install;
    host.programFolder = program;
    host.SetNow(2026, 12, 6, 14, 30, 5);
}

std::unique_ptr<Form1> DriveTest::OpenForm(Host& h) {
    auto form = std::make_unique<Form1>(h, Form1::Options{false});
    form->Load();
    form->Show(SW_SHOW);
    return form;
}

std::wstring DriveTest::BatchFor(const std::wstring& stamp) const {
    return workFolder + L"\\RESPALDO-" + stamp + L".BAT";
}

std::string DriveTest::ResultOf(const std::wstring& stamp) const {
    return ReadBytes(install + L"\\RESPALDO-" + stamp + L".TXT");
}

std::vector<std::wstring> RowsOf(const std::wstring& database) {
    std::vector<std::wstring> rows;
    try {
        auto rs = std::make_shared<data::Recordset>();
        rs->ActiveConnection = data::Connection::OpenReadOnly(database, 1000);
        rs->Open(L"SELECT * FROM FINANZAS ORDER BY ID");
        for (; !rs->Eof(); rs->MoveNext()) {
            std::wstring row;
            for (size_t f = 0; f < rs->FieldCount(); ++f) row += (f ? L"|" : L"") + rs->Field(f).AsText();
            rows.push_back(row);
        }
    } catch (const RuntimeError&) {
        rows.push_back(L"");
    }
    return rows;
}

void AddRows(const std::wstring& folder, int count, const std::wstring& day) {
    auto c = data::Connection::Open(LedgerDatabase::ConnectionString(folder));
    c->Execute(LedgerDatabase::kCreateTable);
    c->Execute(L"BEGIN");
    for (int i = 0; i < count; ++i)
        c->Execute(L"INSERT INTO FINANZAS VALUES (NULL, '" + day + L"', 'MOVIMIENTO " + std::to_wstring(i) +
                   L"', 10, 0, '" + day + L"', 10, (SELECT IFNULL(SUM(INGEGR), 0) + 10 FROM FINANZAS))");
    c->Execute(L"COMMIT");
}

void CloseWindow(Form1& form) { SendMessageW(form.Hwnd(), WM_CLOSE, 0, 0); }

}  // namespace arc::test

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
