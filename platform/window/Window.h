#pragma once
// Base of every window of ours: the class is registered once, "this" is
// recovered in WM_NCCREATE, and each message goes to HandleMessage.  No C++
// exception crosses into user32: the window procedure catches at the
// boundary and hands the error, with its own number and description, to
// OnUnhandledError.
#include "platform/runtime/Error.h"

#include <windows.h>

#include <string>

namespace arc {

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Hwnd() const { return hwnd_; }

protected:
    struct ClassDesc {
        const wchar_t* name;
        HICON icon = nullptr;
        HICON smallIcon = nullptr;
        HBRUSH background = nullptr;  // nullptr: the system's button face colour
        HCURSOR cursor = nullptr;     // nullptr: the arrow
        UINT style = CS_DBLCLKS;
    };
    // Creates the window; false when the system refuses.
    bool CreateWindowOf(const ClassDesc& cls, DWORD exStyle, const std::wstring& title, DWORD style, int x, int y,
                        int width, int height, HWND parent, HMENU menu = nullptr);

    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // An exception escaped a handler.  The default hands it to the barrier
    // of the form the window belongs to (ReportUnhandledError).
    virtual void OnUnhandledError(const RuntimeError& error);
    // Called from WM_NCDESTROY, after which the handle is no longer valid.
    virtual void OnFinalMessage() {}

    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) { return DefWindowProcW(hwnd_, msg, wParam, lParam); }

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

// The message a form answers by showing the error its lParam points to
// (a const RuntimeError*); it returns nonzero when shown.
UINT ShowErrorMessage();

// Hands an error that no handler expected to the barrier of the top-level
// window of `from`; where that window has none, a plain message box shows
// it, so that no error passes unseen.
void ReportUnhandledError(HWND from, const RuntimeError& error);

}  // namespace arc
