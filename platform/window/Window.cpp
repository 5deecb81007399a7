#include "Window.h"

namespace arc {

Window::~Window() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool Window::CreateWindowOf(const ClassDesc& cls, DWORD exStyle, const std::wstring& title, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu) {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    if (!GetClassInfoExW(inst, cls.name, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof wc;
        wc.style = cls.style;
        wc.lpfnWndProc = &Window::Procedure;
        wc.hInstance = inst;
        wc.hIcon = cls.icon;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = cls.background ? cls.background : reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = cls.name;
        if (!RegisterClassExW(&wc)) return false;
    }
    return CreateWindowExW(exStyle, cls.name, title.c_str(), style, x, y, width, height, parent, menu, inst, this) !=
           nullptr;
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) { return Default(msg, wParam, lParam); }

void Window::OnUnhandledError(const RuntimeError& error) { ReportUnhandledError(hwnd_, error); }

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* self = nullptr;
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        self = static_cast<Window*>(cs->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    LRESULT result = 0;
    try {
        result = self->HandleMessage(msg, wParam, lParam);
    } catch (...) {
        const RuntimeError error = CurrentError();
        try {
            self->OnUnhandledError(error);
        } catch (...) {
            // Showing the error failed too: nothing more can be done here.
        }
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

void Window::ReportUnhandledError(HWND from, const RuntimeError& error) {
    HWND root = from ? GetAncestor(from, GA_ROOT) : nullptr;
    if (root && root != from && reinterpret_cast<WNDPROC>(GetClassLongPtrW(root, GCLP_WNDPROC)) == &Procedure)
        if (auto* window = reinterpret_cast<Window*>(GetWindowLongPtrW(root, GWLP_USERDATA)))
            return window->OnUnhandledError(error);
    MessageBoxW(root, RuntimeErrorText(error).c_str(), nullptr, MB_OK | MB_ICONERROR);
}

}  // namespace arc
