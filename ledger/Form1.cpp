// Form1's life: creation, start-up, closing, the status colour, the
// "Configurar" hover, Timer2 and the routing of the window's messages.
#include "Form1.h"

#include "platform/runtime/DateValue.h"
#include "platform/runtime/Format.h"
#include "platform/runtime/TextFile.h"
#include "platform/window/Twips.h"

namespace arc {

Form1::Form1(Host& host, Options options)
    : host_(host), options_(std::move(options)), db_(host.InstallFolder()) {}

Form1::~Form1() {
    // Children first: the date fields and the grid own windows of their own.
    fechar_.reset();
    desde_.reset();
    hasta_.reset();
}

void Form1::Load() {
    const int dpiX = ScreenDpiX(), dpiY = ScreenDpiY();
    RECT r{0, 0, TwipsToPixels(13380, dpiX), TwipsToPixels(9255, dpiY)};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    AdjustWindowRectEx(&r, style, FALSE, WS_EX_CONTROLPARENT);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    ClassDesc cls{L"ArcandoraForm1"};
    cls.icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    if (!CreateWindowOf(cls, WS_EX_CONTROLPARENT, L"Informe Financiero", style, x, y, w, h, nullptr))
        throw RuntimeError(static_cast<long>(GetLastError()), L"No se pudo crear la ventana");
    // The restore lives on the system menu, leaving the designed layout as it is.
    HMENU menu = GetSystemMenu(Hwnd(), FALSE);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kRestoreCommand, L"Restaurar una copia de seguridad...");
    try {
        CreateControls();
        StartUp();
    } catch (...) {
        // Nothing of a window that could not load is shown or kept.
        options_.endProgramOnClose = false;
        DestroyWindow(Hwnd());
        throw;
    }
}

void Form1::Show(int showCommand) {
    ShowWindow(Hwnd(), showCommand);
    UpdateWindow(Hwnd());
    SetFocus(Control(L"Text1"));
    NotifyLastBackup();
}

void Form1::StartUp() {
    const double today = Today(host_.Now());
    fechar_->SetDateTime(today);
    hasta_->SetDateTime(today);
    SetText(L"Label7", LongDate(today, host_.Regional()));
    MOSTRAR();
    ReadSettingsFiles();
}

std::wstring Form1::SettingsPath(const wchar_t* file) { return host_.ProgramFolder() + L"\\" + file; }

void Form1::ReadSettingsFiles() {
    // Every failure here is skipped: a missing file leaves its box empty.
    SetText(L"Text4", ReadFirstAnsiLine(SettingsPath(L"unidad.inf")).value_or(L""));
    SetText(L"Text5", ReadFirstAnsiLine(SettingsPath(L"entidad.inf")).value_or(L""));
}

std::wstring Form1::Text(const std::wstring& name) const { return WindowText(controls_.Get(name)); }

void Form1::SetText(const std::wstring& name, const std::wstring& text) {
    HWND h = controls_.Get(name);
    if (!h) return;
    // Like the runtime's Text property, assigning the text a box already
    // holds changes nothing and raises no change.  Otherwise the edit
    // control's own change notice runs the box's change handling at once.
    if (WindowText(h) == text) return;
    SetWindowTextW(h, text.c_str());
}

std::wstring Form1::StatusCaption() const { return Text(L"Label11"); }

void Form1::SetStatusCaption(const std::wstring& caption) {
    SetText(L"Label11", caption);
    controls_.SetForeColour(L"Label11", caption == kModificando ? RGB(255, 0, 0) : RGB(0, 0, 255));
}

COLORREF Form1::StatusColour() const { return controls_.ForeColour(L"Label11"); }

void Form1::SetMousePointer(int value) {
    mousePointer_ = value;
    SetCursor(LoadCursorW(nullptr, value == 11 ? IDC_WAIT : IDC_ARROW));
}

void Form1::ShowError(const RuntimeError& e) {
    // A refusal of the program's own is a notice in plain words; any other
    // failure shows its number and description.
    host_.ShowMessage(Hwnd(), e.Number() == kErrUnreadableAmount ? e.Description() : RuntimeErrorText(e), MB_OK);
}

void Form1::OnUnhandledError() {
    // A failure no handler expected never ends the program: it is reported
    // with its own number and description, and the window goes on.
    ShowError(CurrentError());
}

void Form1::DataGrid1_Click() {
    timer2Interval_ = 100;
    SetTimer(Hwnd(), kTimer2, timer2Interval_, nullptr);
}

void Form1::Timer2_Tick() {
    // One tick per arming: the interval goes back to 0 after the step.
    KillTimer(Hwnd(), kTimer2);
    timer2Interval_ = 0;
    RowLoadingStep();
}

void Form1::Label9_Click() { ShowWindow(Control(L"Frame1"), SW_SHOW); }
void Form1::Command5_Click() { HidePanel(); }

void Form1::HidePanel() {
    HWND panel = Control(L"Frame1");
    // The keyboard focus never stays on a control that can no longer be seen.
    const bool focusInside = IsChild(panel, GetFocus()) != FALSE;
    ShowWindow(panel, SW_HIDE);
    if (focusInside) SetFocus(Control(L"Text1"));
}

void Form1::SetDefaultButton(int id) {
    if (defaultButton_ == id) return;
    if (defaultButton_)
        SendMessageW(GetDlgItem(Hwnd(), defaultButton_), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    defaultButton_ = id;
    if (id) SendMessageW(GetDlgItem(Hwnd(), id), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

void Form1::OnCommand(int id, int code, HWND control) {
    switch (id) {
        case kCommand1: if (code == BN_CLICKED) Command1_Click(); break;
        case kCommand2: if (code == BN_CLICKED) Command2_Click(); break;
        case kCommand3: if (code == BN_CLICKED) Command3_Click(); break;
        case kCommand4: if (code == BN_CLICKED) Command4_Click(); break;
        case kCommand5: if (code == BN_CLICKED) Command5_Click(); break;
        case kCommand6: if (code == BN_CLICKED) Command6_Click(); break;
        case kCommand7: if (code == BN_CLICKED) Command7_Click(); break;
        case kLabel9: if (code == STN_CLICKED) Label9_Click(); break;
        case kText1: if (code == EN_CHANGE) AmountChanged(L"Text1", L"Text2", L"Registrar Ingreso"); break;
        case kText2: if (code == EN_CHANGE) AmountChanged(L"Text2", L"Text1", L"Registrar Egreso"); break;
        default: break;
    }
}

LRESULT Form1::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_NOTIFY: {
            LRESULT result = 0;
            if (grid_.HandleNotify(reinterpret_cast<NMHDR*>(lParam), result)) return result;
            break;
        }
        case WM_TIMER:
            if (wParam == kTimer2) {
                Timer2_Tick();
                return 0;
            }
            break;
        case DM_GETDEFID:
            // The dialog manager asks which button Enter presses.
            return defaultButton_ ? MAKELRESULT(defaultButton_, DC_HASDEFID) : 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            if (HBRUSH b = controls_.OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
                return reinterpret_cast<LRESULT>(b);
            break;
        case WM_SETCURSOR: {
            // The hover of "Configurar": dark red over the label, silver again
            // only over the window's own background.
            HWND over = reinterpret_cast<HWND>(wParam);
            if (HIWORD(lParam) == WM_MOUSEMOVE) {
                if (over == Control(L"Label9")) controls_.SetForeColour(L"Label9", RGB(192, 0, 0));
                else if (over == Hwnd() && LOWORD(lParam) == HTCLIENT)
                    controls_.SetForeColour(L"Label9", RGB(192, 192, 192));
            }
            if (mousePointer_ == 11) {
                SetCursor(LoadCursorW(nullptr, IDC_WAIT));
                return TRUE;
            }
            break;
        }
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == kRestoreCommand) {
                RESTAURAR();
                return 0;
            }
            break;
        case WM_CLOSE:
            // The close always runs the backup and is never cancelled.
            if (!sessionEnded_) BACKUP();
            DestroyWindow(Hwnd());
            return 0;
        case WM_ENDSESSION:
            // The session's end stops every program of it, a batch started now
            // included: the copy is made and checked before returning.
            if (wParam && !sessionEnded_) RunBackup(true);
            sessionEnded_ = sessionEnded_ || wParam != 0;
            return 0;
        case WM_DESTROY:
            KillTimer(Hwnd(), kTimer2);
            if (options_.endProgramOnClose) PostQuitMessage(0);
            return 0;
    }
    return Default(msg, wParam, lParam);
}

}  // namespace arc
