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

    // Hands an error that no handler expected to the barrier of the
    // top-level window of `from` when that is a window of ours; otherwise a
    // plain message box shows it, so that no error passes unseen.
    static void ReportUnhandledError(HWND from, const RuntimeError& error);

protected:
    struct ClassDesc {
        const wchar_t* name;
        HICON icon = nullptr;
        HBRUSH background = nullptr;  // nullptr: the system's button face colour
        UINT style = CS_DBLCLKS;
    };
    // Creates the window; false when the system refuses.
    bool CreateWindowOf(const ClassDesc& cls, DWORD exStyle, const std::wstring& title, DWORD style, int x, int y,
                        int width, int height, HWND parent, HMENU menu = nullptr);

    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // An exception escaped a handler.  The default hands it to the barrier
    // of the window's top-level window (ReportUnhandledError).
    virtual void OnUnhandledError(const RuntimeError& error);

    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) { return DefWindowProcW(hwnd_, msg, wParam, lParam); }

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

}  // namespace arc
