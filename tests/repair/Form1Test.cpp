// Corvelan's window driven in-process: the button is clicked with BM_CLICK,
// the host answers the file dialog and records the shell call.
#include "repair/Form1.h"

#include "LedgerFiles.h"
#include "support/TempFolder.h"
#include "support/TestHost.h"
#include "support/WindowActions.h"

#include "platform/runtime/Text.h"
#include "platform/runtime/TextFile.h"
#include "platform/window/Twips.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <stdexcept>

namespace arc::repair {
namespace {

using test::TestHost;
using test::TempFolder;
using Id = Form1::Id;

// What the window showed at one moment.
struct Snapshot {
    bool statusVisible = false;
    std::wstring status, chosen;
    COLORREF statusColour = 0;
    MousePointer pointer = static_cast<MousePointer>(-1);
    bool batchWritten = false;
};

class Form1Test : public ::testing::Test {
protected:
    // The program folder holds the shell, as an installed Corvelan would.
    Form1Test() : data_(L" datos"), host_(program_.Path(), L"es-ES") { test::WriteBytes(program_ / L"sqlite3.exe", "MZ"); }

    // Only a window on screen gets painted; the others stay hidden, since
    // Wine without a window manager takes two seconds to hide a window.
    void Open(bool onScreen = false) {
        form_ = std::make_unique<Form1>(host_, [this] {
            ++ends_;
            atEnd_ = Snap();
        });
        ASSERT_TRUE(form_->Create());
        if (onScreen) {
            ShowWindow(form_->Hwnd(), SW_SHOWNOACTIVATE);
            UpdateWindow(form_->Hwnd());
        }
    }

    // Chooses the file in the dialog and presses the button.
    void Press(const std::wstring& chosen) {
        host_.dialogAnswers = {chosen};
        test::Click(form_->Control(Id::Command1));
    }

    Snapshot Snap() const {
        HWND label2 = form_->Control(Id::Label2);
        return {(GetWindowLongW(label2, GWL_STYLE) & WS_VISIBLE) != 0, WindowText(label2), WindowText(form_->Control(Id::Label1)),
                form_->StatusBackColour(), form_->Pointer(), GetFileAttributesW(Batch().c_str()) != INVALID_FILE_ATTRIBUTES};
    }

    std::wstring Batch() const { return program_ / L"REPARADOR.BAT"; }
    bool Alive() const { return form_->Hwnd() && IsWindow(form_->Hwnd()); }

    // The batch as the interpreter reads it, one line a string.
    std::vector<std::wstring> BatchLines() const {
        std::vector<std::wstring> lines;
        std::wstring text = FromOem(test::ReadBytes(Batch()));
        for (size_t at = 0, end; (end = text.find(L"\r\n", at)) != std::wstring::npos; at = end + 2)
            lines.push_back(text.substr(at, end - at));
        return lines;
    }
    bool BatchHas(const std::wstring& line) const {
        auto lines = BatchLines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    // The press was refused with this status: nothing written or started,
    // the window waiting for another try.
    void ExpectRefused(const std::wstring& status) {
        Snapshot s = Snap();
        EXPECT_TRUE(s.statusVisible);
        EXPECT_EQ(s.status, status);
        EXPECT_FALSE(s.batchWritten);
        EXPECT_TRUE(host_.shellCalls.empty());
        EXPECT_TRUE(Alive());
        EXPECT_EQ(ends_, 0);
    }

    TempFolder program_;
    TempFolder data_;
    TestHost host_;
    std::unique_ptr<Form1> form_;
    int ends_ = 0;
    Snapshot atEnd_;
};

TEST_F(Form1Test, ShowsItsDesignBeforeTheFirstPress) {
    Open();
    wchar_t title[64];
    GetWindowTextW(form_->Hwnd(), title, 64);
    EXPECT_STREQ(title, L"Repara y compacta BD");
    RECT client;
    GetClientRect(form_->Hwnd(), &client);
    EXPECT_EQ(client.right, TwipsToPixels(8355, TwipsScale::Of(HWND{}).dpiX));
    EXPECT_EQ(client.bottom, TwipsToPixels(1200, TwipsScale::Of(HWND{}).dpiY));
    EXPECT_EQ(WindowText(form_->Control(Id::Command1)), L"... Explorar");
    Snapshot s = Snap();
    EXPECT_FALSE(s.statusVisible);
    EXPECT_EQ(s.status, L"Preparando...");
    EXPECT_EQ(s.statusColour, kStatusBlue);
    EXPECT_EQ(s.chosen, L"");
    EXPECT_EQ(s.pointer, MousePointer::Default);
}

TEST_F(Form1Test, RepairOfASoundLedgerWritesTheBatchStartsItAndEnds) {
    const std::wstring chosen = data_ / L"BD.db";
    test::MakeLedger(chosen, 300, 4);
    Open();
    Snapshot atDialog, atShell;
    host_.duringDialog = [&] { atDialog = Snap(); };
    host_.duringShellOpen = [&] { atShell = Snap(); };
    HWND hwnd = form_->Hwnd();
    Press(chosen);

    // The status line shows before the dialog opens.
    EXPECT_TRUE(atDialog.statusVisible);
    EXPECT_EQ(atDialog.status, L"Preparando...");
    EXPECT_FALSE(atDialog.batchWritten);

    // The batch is complete before the shell gets it, the first flashing has
    // ended blue, and the hourglass shows.
    ASSERT_EQ(host_.shellCalls.size(), 1u);
    EXPECT_TRUE(atShell.batchWritten);
    EXPECT_EQ(atShell.chosen, chosen);
    EXPECT_EQ(atShell.status, L"Preparando...");
    EXPECT_EQ(atShell.statusColour, kStatusBlue);
    EXPECT_EQ(atShell.pointer, MousePointer::Hourglass);

    const test::ShellCall& call = host_.shellCalls[0];
    EXPECT_EQ(call.owner, hwnd);
    EXPECT_EQ(call.operation, "Open");
    EXPECT_EQ(call.file, ToAnsi(Batch()));
    EXPECT_EQ(call.parameters, "");
    EXPECT_EQ(call.directory, ToAnsi(data_.Path()));
    EXPECT_EQ(call.showCommand, 1);

    // The data folder holds a blank, the program folder does not.
    const std::wstring shell = program_ / L"sqlite3.exe";
    EXPECT_TRUE(BatchHas(L"copy /b \"" + chosen + L"\" \"" + chosen + L".REPARAR_COPIA\" >nul"));
    EXPECT_TRUE(BatchHas(L"echo .dump | " + shell + L" -bail \"" + chosen + L".REPARAR_COPIA\" > \"" + chosen +
                         L".REPARAR_BD\""));
    EXPECT_TRUE(BatchHas(L"echo Filas de FINANZAS antes de reparar: 225"));
    EXPECT_TRUE(BatchHas(L"ren \"" + chosen + L"\" BD.DB.anterior"));
    EXPECT_TRUE(BatchHas(shell + L" \"" + chosen + L"\""));

    // The program ended by itself, once, with its last status shown blue.
    EXPECT_EQ(ends_, 1);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(atEnd_.status, L"Listo el pollo...");
    EXPECT_EQ(atEnd_.statusColour, kStatusBlue);
    EXPECT_EQ(atEnd_.pointer, MousePointer::Default);
}

// Every paint of the status line, by colour, split where the shell is called.
std::vector<std::vector<COLORREF>>* g_paints = nullptr;
Form1* g_form = nullptr;
std::chrono::steady_clock::time_point g_lastPaint;

LRESULT CALLBACK CountPaints(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (msg == WM_PAINT && g_paints) {
        auto& current = g_paints->back();
        COLORREF colour = g_form->StatusBackColour();
        if (current.empty() || current.back() != colour) current.push_back(colour);
        g_lastPaint = std::chrono::steady_clock::now();
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

TEST_F(Form1Test, EachFlashingShowsTwoThousandRedsAndEndsBlue) {
    const std::wstring chosen = data_ / L"BD.db";
    test::MakeLedger(chosen, 20);
    Open(true);
    std::vector<std::vector<COLORREF>> paints(1);
    g_paints = &paints;
    g_form = form_.get();
    ASSERT_TRUE(SetWindowSubclass(form_->Control(Id::Label2), CountPaints, 1, 0));
    std::chrono::steady_clock::time_point atShell;
    host_.duringShellOpen = [&] {
        paints.emplace_back();
        atShell = std::chrono::steady_clock::now();
    };
    const auto start = std::chrono::steady_clock::now();
    Press(chosen);
    g_paints = nullptr;

    // The loops take no time measure; on Wine they must still be short.
    const double first = std::chrono::duration<double>(atShell - start).count();
    const double second = std::chrono::duration<double>(g_lastPaint - atShell).count();
    std::cout << "flashing on screen: first " << first << " s, second " << second << " s\n";
    EXPECT_LT(first + second, 15.0);

    ASSERT_EQ(paints.size(), 2u);
    for (const auto& flashing : paints) {
        int reds = 0;
        for (COLORREF c : flashing) {
            EXPECT_TRUE(c == kStatusRed || c == kStatusBlue);
            reds += c == kStatusRed;
        }
        EXPECT_EQ(reds, 2000);
        ASSERT_FALSE(flashing.empty());
        EXPECT_EQ(flashing.back(), kStatusBlue);
    }
}

TEST_F(Form1Test, ClosingTheDialogWritesNothingAndWaitsForAnotherTry) {
    const std::wstring chosen = data_ / L"BD.db";
    test::MakeLedger(chosen, 20);
    Open();
    Press(L"");
    EXPECT_TRUE(host_.shellCalls.empty());
    Snapshot s = Snap();
    EXPECT_FALSE(s.batchWritten);
    EXPECT_FALSE(s.statusVisible);
    EXPECT_EQ(s.chosen, L"");
    EXPECT_EQ(s.pointer, MousePointer::Default);
    EXPECT_TRUE(Alive());
    EXPECT_EQ(ends_, 0);

    Press(chosen);
    EXPECT_EQ(host_.dialogsShown, 2);
    EXPECT_EQ(host_.shellCalls.size(), 1u);
    EXPECT_EQ(ends_, 1);
}

TEST_F(Form1Test, FileThatIsNoDatabaseIsLeftAloneAndSaidSo) {
    const std::wstring text = data_ / L"notas.txt";
    test::WriteBytes(text, "Cuentas de marzo\r\nLuz 40\r\n");
    Open();
    Snapshot atDialog;
    Press(text);
    ExpectRefused(L"El archivo no es una base de datos");
    EXPECT_EQ(Snap().chosen, text);
    EXPECT_EQ(test::ReadBytes(text), "Cuentas de marzo\r\nLuz 40\r\n");

    // A second try starts from "Preparando..." again.
    host_.duringDialog = [&] { atDialog = Snap(); };
    Press(L"");
    EXPECT_EQ(atDialog.status, L"Preparando...");
    EXPECT_TRUE(atDialog.statusVisible);
}

TEST_F(Form1Test, WhatTheBatchCouldNotRepairIsRefusedBeforeAnythingIsWritten) {
    const std::wstring ledger = data_ / L"BD.db";
    test::MakeLedger(ledger, 50);
    const std::string bytes = test::ReadBytes(ledger);
    Open();

    // A database of another program.
    const std::wstring other = data_ / L"agenda.db";
    test::MakeDatabase(other, "CREATE TABLE CONTACTOS (NOMBRE TEXT)");
    Press(other);
    ExpectRefused(L"El archivo no es un libro de caja: no tiene la tabla FINANZAS");

    // A share of another computer by its UNC path: not even looked at.  The
    // reason fits the one line of the status.
    Press(L"\\\\servidor\\caja\\BD.db");
    ExpectRefused(L"El intérprete de órdenes no trabaja en rutas \\\\equipo\\...: use una letra de unidad");
    {
        HWND status = form_->Control(Id::Label2);
        const std::wstring text = WindowText(status);
        HDC dc = GetDC(status);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(status, WM_GETFONT, 0, 0)));
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        SelectObject(dc, old);
        ReleaseDC(status, dc);
        RECT r;
        GetClientRect(status, &r);
        EXPECT_LE(size.cx, r.right) << "the status line cuts its text";
    }

    // The ledger open in another program, as Arcandora keeps it.
    HANDLE held = CreateFileW(ledger.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Press(ledger);
    CloseHandle(held);
    ExpectRefused(L"El archivo está abierto en otro programa: ciérrelo y vuelva a probar");

    // No shell beside Corvelan.
    DeleteFileW((program_ / L"sqlite3.exe").c_str());
    Press(ledger);
    ExpectRefused(L"Falta sqlite3.exe junto a Corvelan: no se puede reparar");

    EXPECT_EQ(test::ReadBytes(ledger), bytes);
    EXPECT_EQ(host_.dialogsShown, 4);
}

// A network share mapped to a drive letter is a folder like any other to the
// command interpreter: the repair goes ahead there.  repair_mapped_drive.sh
// makes such a drive of Wine and names it in ARC_NETWORK_DRIVE.
TEST_F(Form1Test, ALedgerOnANetworkShareMappedToALetterIsRepaired) {
    wchar_t letter[8] = {};
    if (!GetEnvironmentVariableW(L"ARC_NETWORK_DRIVE", letter, 8) || !letter[0])
        GTEST_SKIP() << "no network drive: run the case through repair_mapped_drive.sh";
    const std::wstring root = std::wstring(letter) + L":\\";
    ASSERT_EQ(GetDriveTypeW(root.c_str()), static_cast<UINT>(DRIVE_REMOTE));
    const std::wstring folder = root + L"caja";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring chosen = folder + L"\\BD.db";
    test::MakeLedger(chosen, 20);
    Open();
    Press(chosen);
    ASSERT_EQ(host_.shellCalls.size(), 1u);
    EXPECT_EQ(host_.shellCalls[0].directory, ToAnsi(folder));
    EXPECT_TRUE(BatchHas(L"ren " + chosen + L" BD.DB.anterior"));
}

TEST_F(Form1Test, CrashedLedgerBesideAnEarlierSetAsideIsRepairedNotRefused) {
    const std::wstring chosen = data_ / L"BD.db";
    test::MakeCrashedLedger(chosen, 500);
    test::WriteBytes(data_ / L"BD.DB.anterior", "de una reparación anterior");
    Open();
    Press(chosen);
    ASSERT_EQ(host_.shellCalls.size(), 1u);
    EXPECT_TRUE(BatchHas(L"copy /b \"" + chosen + L"-journal\" \"" + chosen + L".REPARAR_COPIA-journal\" >nul"));
    EXPECT_TRUE(BatchHas(L"ren \"" + chosen + L"\" BD.DB.anterior.1"));
    EXPECT_TRUE(BatchHas(L"echo Filas de FINANZAS antes de reparar: 500"));
}

TEST_F(Form1Test, DamagedLedgerIsRebuiltWithRecover) {
    TempFolder plain;
    const std::wstring chosen = plain / L"BD.db";
    test::MakeLedger(chosen, 2000);
    test::DamagePages(chosen, {6});
    Open();
    Press(chosen);
    EXPECT_TRUE(BatchHas(L"echo .recover | " + (program_ / L"sqlite3.exe") + L" -bail " + chosen + L".REPARAR_COPIA > " +
                         chosen + L".REPARAR_BD"));
    EXPECT_EQ(host_.shellCalls.size(), 1u);
}

TEST_F(Form1Test, AnotherBDdbOrItsJournalBesideTheChosenFileIsNotOverwritten) {
    const std::wstring copy = data_ / L"copia.db";
    test::MakeLedger(copy, 20);
    test::MakeLedger(data_ / L"BD.db", 30);
    Open();
    Press(copy);
    ExpectRefused(L"Ya hay otro BD.db en la carpeta del archivo");
    DeleteFileW((data_ / L"BD.db").c_str());
    test::WriteBytes(data_ / L"BD.db-journal", "diario suelto");
    Press(copy);
    ExpectRefused(L"Ya hay otro BD.db en la carpeta del archivo");
}

TEST_F(Form1Test, FolderNamedOutsideTheCodePageIsWrittenByItsShortForm) {
    TempFolder greek(L"Καλημέρα");
    const std::wstring chosen = greek / L"BD.db";
    test::MakeLedger(chosen, 20);
    Open();
    Press(chosen);
    ASSERT_EQ(host_.shellCalls.size(), 1u);
    // No letter became "?", which the interpreter would take as a wildcard.
    const std::string batch = test::ReadBytes(Batch());
    EXPECT_EQ(batch.find('?'), std::string::npos) << batch;
    const std::wstring directory = FromAnsi(host_.shellCalls[0].directory);
    EXPECT_EQ(directory.find(L'?'), std::wstring::npos);
    // The short folder is the chosen file's folder.
    EXPECT_TRUE(FileExists(directory + L"\\BD.db"));
}

TEST_F(Form1Test, BatchThatCannotBeWrittenEndsWithTheErrorAndStartsNothing) {
    const std::wstring chosen = data_ / L"BD.db";
    test::MakeLedger(chosen, 20);
    // A folder where the batch should go.
    ASSERT_TRUE(CreateDirectoryW(Batch().c_str(), nullptr));
    Open();
    Press(chosen);
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_NE(host_.messages[0].text.find(L"'75'"), std::wstring::npos) << ToUtf8(host_.messages[0].text);
    EXPECT_TRUE(host_.shellCalls.empty());
    EXPECT_EQ(ends_, 1);
    EXPECT_FALSE(Alive());
    RemoveDirectoryW(Batch().c_str());
}

// A failure that no step expected (here inside the file dialog) is shown
// with its own number and description, and ends the program.
TEST_F(Form1Test, AnUnexpectedErrorShowsItsOwnNumberAndDescriptionAndEnds) {
    Open();
    host_.duringDialog = [] { throw std::runtime_error("sin memoria de dibujo"); };
    Press(L"");
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].text, RuntimeErrorText(kErrInternal, L"Error interno"));
    EXPECT_EQ(ends_, 1);
    EXPECT_TRUE(host_.shellCalls.empty());
}

TEST_F(Form1Test, ClosingTheWindowEndsTheProgram) {
    Open();
    SendMessageW(form_->Hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(ends_, 1);
    EXPECT_FALSE(Alive());
    EXPECT_TRUE(host_.shellCalls.empty());
}

}  // namespace
}  // namespace arc::repair
