#pragma once
// A real Form1 in this process, on a temporary install folder with a fixed
// clock and message boxes answered by the test, plus direct access to its
// database file for setting up rows and checking them.
#include "ledger/Form1.h"
#include "support/DayViewDenied.h"
#include "support/TempFolder.h"
#include "support/TestHost.h"
#include "support/WindowActions.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace arc::test {

// Direct SQL on a database file, outside the program's own connection.
class Sql {
public:
    explicit Sql(const std::wstring& file);
    ~Sql();
    void Exec(const std::string& sql);
    // Every row of the query, fields joined by "|", NULL as "NULL", reals in %.17g.
    std::vector<std::string> Rows(const std::string& sql);
    std::string One(const std::string& sql);
    sqlite3* Db() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};

std::string Narrow(const std::wstring& w);

using Id = Form1::Id;


class LedgerTest : public ::testing::Test {
protected:
    explicit LedgerTest(const wchar_t* locale = L"en-US") : host(folder.Path(), locale) {}

    // Loads and shows the window; false (with the message recorded) when the
    // start-up failed.  Unless told otherwise, it starts as an installation
    // whose backup drive is set.
    bool Start();
    bool withBackupDrive = true;
    std::wstring DbPath() const { return folder / L"BD.db"; }

    // Typing into a box, one character at a time as the keyboard would.
    void Type(Id box, const std::wstring& text);
    void Click(Id button);
    // Registers a movement through the window.
    void Register(const std::wstring& income, const std::wstring& expense, const std::wstring& description);
    // Selects a grid row the way a key press does.
    void SelectRow(int row);
    std::wstring Text(Id box) { return form->Text(box); }
    // The design name of the control that holds the focus, "?" for another.
    std::wstring Focused() const;

    TempFolder folder;
    TestHost host;
    Form1::Options options{false};
    std::unique_ptr<Form1> form;
};

}  // namespace arc::test
