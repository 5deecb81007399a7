#include "TestFiles.h"

#include "platform/runtime/Text.h"

#include <sqlite3.h>
#include <windows.h>

#include <stdexcept>

namespace arc::repair::test {
namespace {

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring child = path + L"\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileW(child.c_str());
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryW(path.c_str());
}

void Exec(sqlite3* db, const std::string& sql) {
    char* err = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::string message = err ? err : "?";
        sqlite3_free(err);
        throw std::runtime_error(message);
    }
}

}  // namespace

const char kLedgerTable[] =
    "CREATE TABLE if NOT exists FINANZAS (`ID` INTEGER PRIMARY KEY AUTOINCREMENT, `FECHA` TEXT, `DESCRIPCION` TEXT, "
    "`INGRESO` DOUBLE, `EGRESO` DOUBLE, `FECHA_OP` TEXT, `INGEGR` DOUBLE, ESTADO DOUBLE)";

TempFolder::TempFolder(const std::wstring& name) {
    static int count = 0;
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    path_ = std::wstring(tmp) + L"corvelan_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
            std::to_wstring(++count) + name;
    if (!CreateDirectoryW(path_.c_str(), nullptr)) throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder() { RemoveTree(path_); }

std::string ReadBytes(const std::wstring& path) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char buf[65536];
    DWORD got = 0;
    while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0) bytes.append(buf, got);
    CloseHandle(f);
    return bytes;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write a test file");
    DWORD written = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
}

void MakeLedger(const std::wstring& path, int rows, int deleteEvery) {
    sqlite3* db = nullptr;
    if (sqlite3_open16(path.c_str(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot create a ledger");
    }
    try {
        Exec(db, kLedgerTable);
        Exec(db,
             "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(rows) +
                 ") INSERT INTO FINANZAS SELECT NULL, '2024-03-05', 'MOVIMIENTO ' || i, i % 7, 0, '2024-03-05', "
                 "i % 7, 0 FROM n");
        if (deleteEvery > 0) Exec(db, "DELETE FROM FINANZAS WHERE ID % " + std::to_string(deleteEvery) + " = 0");
        Exec(db, "UPDATE FINANZAS SET estado = (SELECT SUM(INGEGR) FROM FINANZAS AS t2 WHERE t2.rowid <= FINANZAS.rowid)");
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    sqlite3_close(db);
}

void DamagePages(const std::wstring& path, std::initializer_list<int> pages) {
    std::string bytes = ReadBytes(path);
    const std::string garbage = "basura en la pagina ";
    for (int page : pages) {
        size_t at = static_cast<size_t>(page - 1) * 4096;
        for (size_t i = 0; i < 4096 && at + i < bytes.size(); ++i) bytes[at + i] = garbage[i % garbage.size()];
    }
    WriteBytes(path, bytes);
}

}  // namespace arc::repair::test
