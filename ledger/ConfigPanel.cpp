// The configuration panel: "Configurar" shows it and lights up under the
// mouse, "X" hides it, "Guardar" writes both settings files, then a backup.
// Every step of "Guardar" is tried on its own and a failing one is skipped silently: an
// unwritable program folder keeps the old files, the backup still runs and
// the panel still closes.  Each file is replaced whole or not at all, so a
// failed write never leaves it empty (an empty unidad.inf would stop every
// later backup without a word).
#include "Form1.h"

#include "platform/runtime/TextFile.h"

namespace arc {

void Form1::ConnectConfigPanel() {
    On(Id::Label9, Event::Click, [this] { ShowWindow(Control(Id::Frame1), SW_SHOW); });
    On(Id::Command5, Event::Click, [this] { HidePanel(); });
    On(Id::Command6, Event::Click, [this] { Command6_Click(); });
    // The hover of "Configurar": dark red over the label, silver again only
    // over the window's own background.
    OnMessage(WM_SETCURSOR, [this](WPARAM wParam, LPARAM lParam) -> Reply {
        HWND over = reinterpret_cast<HWND>(wParam);
        if (HIWORD(lParam) != WM_MOUSEMOVE) return {};
        if (over == Control(Id::Label9)) SetForeColour(Id::Label9, RGB(192, 0, 0));
        else if (over == Hwnd() && LOWORD(lParam) == HTCLIENT) SetForeColour(Id::Label9, RGB(192, 192, 192));
        return {};
    });
}

void Form1::HidePanel() {
    HWND panel = Control(Id::Frame1);
    // The keyboard focus never stays on a control that can no longer be seen.
    const bool focusInside = IsChild(panel, GetFocus()) != FALSE;
    ShowWindow(panel, SW_HIDE);
    if (focusInside) SetFocus(Control(Id::Text1));
}

void Form1::Command6_Click() {
    // Each file is one line, the box's text unchanged, rewritten whole.
    ReplaceAnsiLines(SettingsPath(L"unidad.inf"), {Text(Id::Text4)});
    ReplaceAnsiLines(SettingsPath(L"entidad.inf"), {Text(Id::Text5)});
    // The backup reads the drive from Text4, not from the file just written.
    BACKUP();
    HidePanel();
}

}  // namespace arc
