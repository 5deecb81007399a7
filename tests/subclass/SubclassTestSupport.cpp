#include "SubclassTestSupport.h"

namespace arc::test {

namespace {

const wchar_t kWideClass[] = L"ArcSubclassTestW";
const char kNarrowClass[] = "ArcSubclassTestA";

LRESULT Answer(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool wide) {
    auto* journal = reinterpret_cast<std::vector<Step>*>(wide ? GetWindowLongPtrW(hwnd, GWLP_USERDATA)
                                                              : GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (journal) journal->push_back({"own", msg});
    switch (msg) {
    case kAsk: return static_cast<LRESULT>(wParam) + 1000;
    case kOther: return 7;
    case kUnlisted: return 99;
    default: return wide ? DefWindowProcW(hwnd, msg, wParam, lParam) : DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

LRESULT CALLBACK WideProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return Answer(hwnd, msg, wParam, lParam, true);
}
LRESULT CALLBACK NarrowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return Answer(hwnd, msg, wParam, lParam, false);
}

void RegisterClasses() {
    static bool done = false;
    if (done) return;
    WNDCLASSW w{};
    w.lpfnWndProc = WideProc;
    w.hInstance = GetModuleHandleW(nullptr);
    w.lpszClassName = kWideClass;
    RegisterClassW(&w);
    WNDCLASSA a{};
    a.lpfnWndProc = NarrowProc;
    a.hInstance = GetModuleHandleA(nullptr);
    a.lpszClassName = kNarrowClass;
    RegisterClassA(&a);
    done = true;
}

}  // namespace

TestWindow::TestWindow(std::vector<Step>* journal, bool wide) : wide_(wide) {
    RegisterClasses();
    hwnd_ = wide ? CreateWindowExW(0, kWideClass, L"prueba", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr)
                 : CreateWindowExA(0, kNarrowClass, "prueba", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    // The journal starts after creation, so tests see only their messages.
    if (hwnd_) SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(journal));
}

TestWindow::~TestWindow() { Destroy(); }

void TestWindow::Destroy() {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

WNDPROC TestWindow::OwnProc() const { return wide_ ? WideProc : NarrowProc; }

WNDPROC TestWindow::CurrentProc() const {
    return reinterpret_cast<WNDPROC>(IsWindowUnicode(hwnd_) ? GetWindowLongPtrW(hwnd_, GWLP_WNDPROC)
                                                            : GetWindowLongPtrA(hwnd_, GWLP_WNDPROC));
}

void __stdcall RecordingOwner::WindowProc(BOOL bBefore, BOOL* bHandled, LRESULT* lReturn, HWND lng_hWnd, UINT uMsg,
                                          WPARAM wParam, LPARAM lParam, LONG_PTR* lParamUser) {
    Call call{bBefore != FALSE, lng_hWnd, uMsg, wParam, lParam, *lParamUser, *lReturn};
    calls.push_back(call);
    if (journal_) journal_->push_back({bBefore ? "before" : "after", uMsg});
    if (action) action(call, bHandled, lReturn, lParamUser);
}

DiagnosticLog::DiagnosticLog() {
    clsSubClass::SetDiagnosticHook(
        [this](const std::wstring& routine, const std::wstring& message) { reports.emplace_back(routine, message); });
}

DiagnosticLog::~DiagnosticLog() { clsSubClass::SetDiagnosticHook(nullptr); }

int ExecutableRegionCount() {
    int count = 0;
    MEMORY_BASIC_INFORMATION info;
    for (BYTE* at = nullptr; VirtualQuery(at, &info, sizeof info) == sizeof info;
         at = static_cast<BYTE*>(info.BaseAddress) + info.RegionSize) {
        if (info.State == MEM_COMMIT && info.Protect == PAGE_EXECUTE_READWRITE) ++count;
        if (static_cast<BYTE*>(info.BaseAddress) + info.RegionSize < at) break;
    }
    return count;
}

}  // namespace arc::test
