#pragma once
// A window made from one description (caption, client size in twips, icon,
// style) and its control table.  The form owns its controls and runs its
// plumbing once for every window: handlers are registered per control and
// event (On) or per window message (OnMessage) by the file of each concern;
// WM_COMMAND and WM_NOTIFY reach those handlers or the control's wrapper;
// the controls' colours, the mouse pointer and the design's tab order are
// handled here; and it is the barrier of every error that a handler lets
// through: ShowRuntimeError shows it and the window goes on.
#include "Controls.h"
#include "Menu.h"
#include "Twips.h"
#include "Window.h"

#include "platform/runtime/Error.h"
#include "platform/runtime/Host.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace arc {

// The mouse pointer, by the runtime's values.
enum class MousePointer : int { Default = 0, Hourglass = 11 };

// The notices of a control that handlers are registered for.
enum class Event : UINT { Click = BN_CLICKED, Change = EN_CHANGE, SelectionChange = CBN_SELCHANGE };

// Where the window appears.
enum class Placement { SystemDefault, CentredOnScreen, MostOfOwnersScreen };

struct FormDesc {
    const wchar_t* className = nullptr;
    std::wstring caption;
    int width = 0, height = 0;  // the client area in twips (not used with MostOfOwnersScreen)
    int icon = 0;               // the program's icon resource; 0: none
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    DWORD exStyle = WS_EX_CONTROLPARENT;
    Placement placement = Placement::SystemDefault;
    // A menu bar above the client area (the window grows by its height, so
    // the client area keeps its size) and the shortcuts of its commands.
    std::vector<MenuItem> menu;
    std::vector<Shortcut> shortcuts;
};

// What a window message's handler answers; nullopt: not handled here, the
// next handler or the default processing goes on.
using Reply = std::optional<LRESULT>;
using MessageHandler = std::function<Reply(WPARAM, LPARAM)>;

// The one way every window shows an error: its number and description; a
// refusal of the program's own (an unreadable amount, a closed period) in
// its plain words.
void ShowRuntimeError(Host& host, HWND owner, const RuntimeError& error);

class Form : public Window {
public:
    explicit Form(Host& host) : host_(host) {}

    HWND Control(ControlId id) const { return controls_.Get(id); }
    std::wstring Text(ControlId id) const { return WindowText(Control(id)); }
    // Like the runtime's Text property: the text a control already holds
    // changes nothing and raises no change.
    void SetText(ControlId id, const std::wstring& text);
    COLORREF ForeColour(ControlId id) const { return controls_.ForeColour(id); }
    COLORREF BackColour(ControlId id) const { return controls_.BackColour(id); }
    const TwipsScale& Scale() const { return scale_; }
    MousePointer Pointer() const { return pointer_; }
    bool Contains(HWND hwnd) const { return hwnd && (hwnd == Hwnd() || IsChild(Hwnd(), hwnd)); }

    // What the message loop asks first: the menu's shortcuts, Tab and
    // Shift+Tab walking the design's tab indexes (a shown panel's controls
    // among the window's by their own), then the dialog keys.  True when the
    // message was taken.
    bool PreTranslate(MSG& msg);

    // Runs a command of the menu bar (or its shortcut) as the user would.
    void RunCommand(UINT command) { SendMessageW(Hwnd(), WM_COMMAND, MAKEWPARAM(command, 0), 0); }

protected:
    // Creates the window hidden from its description, takes the twips scale
    // from it and makes the controls of the table; false when the system
    // refuses the window or a control.
    bool Create(const FormDesc& desc, const std::vector<ControlDesc>& table, HWND owner = nullptr);

    void On(ControlId control, Event event, std::function<void()> handler);
    // A command of the menu bar or of a shortcut.
    void OnCommand(UINT command, std::function<void()> handler);
    void OnMessage(UINT msg, MessageHandler handler);
    // A message that the action always handles, answering 0.
    void OnMessage(UINT msg, std::function<void()> action);
    void SetForeColour(ControlId id, COLORREF colour) { controls_.SetForeColour(id, colour); }
    void SetBackColour(ControlId id, COLORREF colour) { controls_.SetBackColour(id, colour); }
    // Repaints a control, or with none the window, at once.  The window clips
    // its children, so that repaints its own background only.
    void Refresh(ControlId id = {});
    // Sets the shape at once (a long step handles no messages) and keeps it
    // over the window until set back.
    void SetMousePointer(MousePointer pointer);
    // The hourglass for as long as this value lives.
    class Hourglass {
    public:
        explicit Hourglass(Form& form) : form_(form) { form.SetMousePointer(MousePointer::Hourglass); }
        ~Hourglass() { form_.SetMousePointer(MousePointer::Default); }
        Hourglass(const Hourglass&) = delete;
        Hourglass& operator=(const Hourglass&) = delete;

    private:
        Form& form_;
    };
    void OnUnhandledError(const RuntimeError& error) override;

    Host& host_;

private:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) final;
    bool Notify(int id, UINT code);
    bool TabFrom(HWND focus, bool backwards);

    ControlSet controls_;
    TwipsScale scale_;
    MousePointer pointer_ = MousePointer::Default;
    std::map<std::pair<int, UINT>, std::function<void()>> handlers_;
    std::map<UINT, std::function<void()>> commands_;
    std::unique_ptr<ShortcutTable> shortcuts_;
    std::map<UINT, std::vector<MessageHandler>> messages_;
};

// Runs the message loop of the program's window until WM_QUIT.
int RunMessageLoop(Form& form);

}  // namespace arc
