// Form1's life: creation, start-up, the window state and its colour, and
// the end of the program when the window has gone.
#include "Form1.h"
#include "History.h"
#include "RepairRecord.h"

#include "platform/runtime/DateValue.h"
#include "platform/runtime/Format.h"
#include "platform/runtime/TextFile.h"

namespace arc {

Form1::Form1(Host& host, Options options) : Form(host), options_(std::move(options)), db_(host.InstallFolder()) {
    ConnectLife();
    ConnectRegistering();
    ConnectModifyDelete();
    ConnectConfigPanel();
    ConnectReport();
    ConnectBackup();
    ConnectRestore();
    ConnectMenu();
}

void Form1::ConnectLife() {
    OnMessage(WM_DESTROY, [this] {
        KillTimer(Hwnd(), static_cast<UINT_PTR>(Id::Timer2));
        if (options_.endProgramOnClose) PostQuitMessage(0);
    });
}

void Form1::Load() {
    const FormDesc desc{.className = L"ArcandoraForm1", .caption = L"Informe Financiero", .width = 13380,
                        .height = 9255, .icon = 1, .placement = Placement::CentredOnScreen, .menu = MenuBar(),
                        .shortcuts = {{'B', FCONTROL, static_cast<UINT>(Command::Search)}}};
    const bool made = Create(desc, Layout());
    try {
        if (!Hwnd()) throw RuntimeError(static_cast<long>(GetLastError()), L"No se pudo crear la ventana");
        if (!made) throw RuntimeError(kErrInvalidProcedureCall, L"No se pudo crear un control de la ventana");
        StartUp();
    } catch (...) {
        // Nothing of a window that could not load is shown or kept.
        options_.endProgramOnClose = false;
        if (Hwnd()) DestroyWindow(Hwnd());
        throw;
    }
}

void Form1::Show(int showCommand) {
    ShowWindow(Hwnd(), showCommand);
    UpdateWindow(Hwnd());
    SetFocus(Control(Id::Text1));
    NotifyLastBackup();
    COMPROBAR_LIBRO(true);
}

void Form1::StartUp() {
    OfferSetAsideLedger();
    const double today = Today(host_.Now());
    fechar_->SetDateTime(today);
    hasta_->SetDateTime(today);
    SetText(Id::Label7, LongDate(today, host_.Regional()));
    MOSTRAR();
    // A repair made by Corvelan since the last start goes into the history;
    // a book without its history gets it now, starting from the state it is
    // in.  A failure (another program holding the file) leaves the repair to
    // the next start, the history to the first change, which makes it in its
    // own transaction.
    try {
        RecordRepairs(db_, History::Moment(host_.Now()));
        History::Ensure(db_, History::Moment(host_.Now()));
    } catch (const RuntimeError&) {
    }
    ReadSettingsFiles();
}

std::wstring Form1::SettingsPath(const wchar_t* file) { return host_.ProgramFolder() + L"\\" + file; }

void Form1::ReadSettingsFiles() {
    // Every failure here is skipped: a missing file leaves its box empty.
    SetText(Id::Text4, ReadFirstAnsiLine(SettingsPath(L"unidad.inf")).value_or(L""));
    SetText(Id::Text5, ReadFirstAnsiLine(SettingsPath(L"entidad.inf")).value_or(L""));
}

std::wstring Form1::StatusCaption() const { return Text(Id::Label11); }

void Form1::SetStatusCaption(const std::wstring& caption) {
    SetText(Id::Label11, caption);
    SetForeColour(Id::Label11, caption == kModificando ? RGB(255, 0, 0) : RGB(0, 0, 255));
}

COLORREF Form1::StatusColour() const { return ForeColour(Id::Label11); }

}  // namespace arc
