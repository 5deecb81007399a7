#include "controls/subclass/PlatformProcs.h"

namespace arc::subclass {

namespace {

template <typename Fn>
void Bind(Fn& target, HMODULE module, const char* name, std::wstring& missing) {
    FARPROC address = module ? GetProcAddress(module, name) : nullptr;
    target = reinterpret_cast<Fn>(address);
    if (!address && missing.empty()) missing.assign(name, name + std::char_traits<char>::length(name));
}

}  // namespace

PlatformProcs LookUpProcs(bool wide) {
    PlatformProcs procs;
    HMODULE kernel = wide ? GetModuleHandleW(L"kernel32") : GetModuleHandleA("kernel32");
    HMODULE user = wide ? GetModuleHandleW(L"user32") : GetModuleHandleA("user32");
    Bind(procs.virtualFree, kernel, "VirtualFree", procs.missing);
    Bind(procs.isBadCodePtr, kernel, "IsBadCodePtr", procs.missing);
    Bind(procs.callWindowProc, user, wide ? "CallWindowProcW" : "CallWindowProcA", procs.missing);
    Bind(procs.setWindowLong, user, wide ? kSetWindowLongW : kSetWindowLongA, procs.missing);
    return procs;
}

}  // namespace arc::subclass
