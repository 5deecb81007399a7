#include "LedgerFixture.h"

#include "platform/data/Statement.h"
#include "platform/runtime/SystemHost.h"
#include "platform/runtime/Text.h"
#include "platform/runtime/TextFile.h"

#include <commctrl.h>

#include <cstdio>

namespace arc::test {

std::string Narrow(const std::wstring& w) { return ToUtf8(w); }


Sql::Sql(const std::wstring& file) {
    sqlite3_open_v2(ToUtf8(file).c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    sqlite3_busy_timeout(db_, 5000);
}

Sql::~Sql() { sqlite3_close_v2(db_); }

void Sql::Exec(const std::string& sql) {
    char* err = nullptr;
    int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err);
    EXPECT_EQ(rc, SQLITE_OK) << sql << ": " << (err ? err : "");
    sqlite3_free(err);
}

std::vector<std::string> Sql::Rows(const std::string& sql) {
    std::vector<std::string> out;
    try {
        data::Statement st(db_, sql);
        while (st.Step()) {
            std::string row;
            for (int c = 0; c < st.ColumnCount(); ++c) {
                if (c) row += "|";
                switch (st.ColumnType(c)) {
                    case SQLITE_NULL: row += "NULL"; break;
                    case SQLITE_FLOAT: {
                        char b[64];
                        std::snprintf(b, sizeof b, "%.17g", st.Real(c));
                        row += b;
                        break;
                    }
                    default: row += st.Text(c); break;
                }
            }
            out.push_back(row);
        }
    } catch (const RuntimeError& e) {
        ADD_FAILURE() << sql << ": " << ToUtf8(e.Description());
    }
    return out;
}

std::string Sql::One(const std::string& sql) {
    auto rows = Rows(sql);
    return rows.empty() ? std::string("<none>") : rows.front();
}

bool LedgerTest::Start() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    // An installation with its backup drive set, unless the test sets its
    // own: a letter that names no drive, so that a close writes nowhere.
    const std::wstring unidad = host.programFolder + L"\\unidad.inf";
    if (withBackupDrive && FolderExists(host.programFolder) && !FileExists(unidad)) WriteBytes(unidad, Narrow(AbsentDrive()) + "\r\n");
    form = std::make_unique<Form1>(host, options);
    try {
        form->Load();
    } catch (const RuntimeError& e) {
        ShowRuntimeError(host, nullptr, e);  // as the program's entry point shows it
        form.reset();
        return false;
    }
    form->Show(SW_SHOW);
    SetForegroundWindow(form->Hwnd());
    SetFocus(form->Control(Id::Text1));
    Pump();
    return true;
}

void LedgerTest::Type(Id box, const std::wstring& text) {
    TypeKeys(form->Control(box), text);
    Pump();
}

void LedgerTest::Click(Id button) {
    test::Click(form->Control(button));
    Pump();
}

void LedgerTest::Register(const std::wstring& income, const std::wstring& expense, const std::wstring& description) {
    if (!income.empty()) Type(Id::Text1, income);
    if (!expense.empty()) Type(Id::Text2, expense);
    SetBoxText(form->Control(Id::Text3), description);
    Click(Id::Command2);
}

void LedgerTest::SelectRow(int row) {
    form->DataGrid1().SetRow(row);
    SetFocus(form->DataGrid1().Hwnd());
    SendMessageW(form->DataGrid1().Hwnd(), WM_CHAR, L' ', 1);
    Pump();
}

std::wstring LedgerTest::Focused() const {
    HWND f = GetFocus();
    const std::pair<Id, const wchar_t*> named[] = {{Id::Text1, L"Text1"}, {Id::Text2, L"Text2"}, {Id::Text3, L"Text3"},
                                                   {Id::Text4, L"Text4"}, {Id::Text5, L"Text5"},
                                                   {Id::Command2, L"Command2"}};
    for (const auto& [id, name] : named)
        if (f == form->Control(id)) return name;
    if (f == form->DataGrid1().Hwnd()) return L"DataGrid1";
    return L"?";
}

}  // namespace arc::test
