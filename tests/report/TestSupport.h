#pragma once
// Fakes the report tests share: a host that records its messages, a date
// field holding a value, a data source of rows in memory, a temporary folder.
#include "ledger/DateField.h"
#include "platform/report/DataSource.h"
#include "platform/runtime/Host.h"

#include <windows.h>

#include <string>
#include <vector>

namespace arc::test {

class RecordingHost : public Host {
public:
    explicit RecordingHost(std::wstring installFolder, arc::Regional regional = RegionalFor(L"en-US"))
        : install_(std::move(installFolder)), regional_(std::move(regional)) {}
    std::wstring InstallFolder() override { return install_; }
    std::wstring ProgramFolder() override { return install_; }
    SYSTEMTIME Now() override {
        SYSTEMTIME t{};
        t.wYear = 2026; t.wMonth = 1; t.wDay = 15; t.wHour = 10;
        return t;
    }
    const arc::Regional& Regional() override { return regional_; }
    int ShowMessage(HWND, const std::wstring& text, UINT flags) override {
        messages.push_back(text);
        flagsSeen.push_back(flags);
        return IDOK;
    }
    bool StartHidden(const std::wstring&) override { return false; }
    void ShellOpen(HWND, const std::string&, const std::string&, const std::string&, const std::string&, int) override {}
    std::wstring OpenFileDialog(HWND) override { return L""; }
    void Wait(DWORD) override {}

    std::vector<std::wstring> messages;
    std::vector<UINT> flagsSeen;

private:
    std::wstring install_;
    arc::Regional regional_;
};

class FixedDateField : public DateField {
public:
    explicit FixedDateField(double value) : value_(value) {}
    void SetDateTime(double date) override { value_ = date; }
    void SetDateTimeText(const std::wstring&) override {}
    double DateTime() const override { return value_; }
    HWND Hwnd() const override { return nullptr; }

private:
    double value_;
};

// Rows in memory with named fields.
class TableSource : public report::DataSource {
public:
    explicit TableSource(std::vector<std::wstring> names) : names_(std::move(names)) {}
    void Add(std::vector<data::Value> row) { rows_.push_back(std::move(row)); }
    size_t RowCount() const override { return rows_.size(); }
    int FieldIndex(const std::wstring& name) const override {
        for (size_t i = 0; i < names_.size(); ++i)
            if (_wcsicmp(names_[i].c_str(), name.c_str()) == 0) return static_cast<int>(i);
        return -1;
    }
    const data::Value& Value(size_t row, int field) const override { return rows_.at(row).at(field); }

private:
    std::vector<std::wstring> names_;
    std::vector<std::vector<data::Value>> rows_;
};

// A fresh folder under the temporary folder, removed with its files.
class TempFolder {
public:
    TempFolder() {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        static int counter = 0;
        path_ = std::wstring(base) + L"arc_report_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                std::to_wstring(++counter);
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~TempFolder() {
        WIN32_FIND_DATAW fd;
        HANDLE h = FindFirstFileW((path_ + L"\\*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW((path_ + L"\\" + fd.cFileName).c_str());
            } while (FindNextFileW(h, &fd));
            FindClose(h);
        }
        RemoveDirectoryW(path_.c_str());
    }
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
};

}  // namespace arc::test
