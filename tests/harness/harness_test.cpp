// Proves the test harness itself: windows and common controls work in-process
// under Wine, and the SQLite library reads and writes real files.
#include <windows.h>
#include <commctrl.h>
#include <sqlite3.h>
#include <gtest/gtest.h>
#include <string>

TEST(Harness, DatePickerKeepsTheDateItIsGiven) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_DATE_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&icc));
    HWND top = CreateWindowExW(0, L"STATIC", L"harness", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(top, nullptr);
    HWND dtp = CreateWindowExW(0, DATETIMEPICK_CLASSW, L"", WS_CHILD | WS_VISIBLE, 10, 10, 150, 25,
                               top, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(dtp, nullptr);
    SYSTEMTIME in{};
    in.wYear = 2024; in.wMonth = 3; in.wDay = 5;
    ASSERT_TRUE(SendMessageW(dtp, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&in)));
    SYSTEMTIME out{};
    EXPECT_EQ(SendMessageW(dtp, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&out)), GDT_VALID);
    EXPECT_EQ(out.wYear, 2024);
    EXPECT_EQ(out.wMonth, 3);
    EXPECT_EQ(out.wDay, 5);
    DestroyWindow(top);
}

TEST(Harness, SqliteStoresAccentedTextInANewFile) {
    wchar_t tmp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, tmp), 0u);
    std::wstring dir = std::wstring(tmp) + L"arc_harness_" + std::to_wstring(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr));
    std::wstring file = dir + L"\\nuevo.db";

    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open16(file.c_str(), &db), SQLITE_OK);
    char* err = nullptr;
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE T (D TEXT); INSERT INTO T VALUES ('NIÑOS');", nullptr, nullptr, &err),
              SQLITE_OK) << (err ? err : "");
    sqlite3_close(db);
    EXPECT_NE(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);

    ASSERT_EQ(sqlite3_open16(file.c_str(), &db), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT D FROM T", -1, &st, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))), "NI\xC3\x91OS");
    EXPECT_EQ(sqlite3_step(st), SQLITE_DONE);
    sqlite3_finalize(st);
    sqlite3_close(db);
    DeleteFileW(file.c_str());
    RemoveDirectoryW(dir.c_str());
}
