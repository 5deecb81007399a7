#pragma once
// The platform functions a block's thunk calls, looked up once per block by
// module and name.
#include "controls/subclass/SubclassBlock.h"

#include <string>

namespace arc::subclass {

struct PlatformProcs {
    CallWindowProcFn callWindowProc = nullptr;
    SetWindowLongFn setWindowLong = nullptr;
    VirtualFreeFn virtualFree = nullptr;
    IsBadCodePtrFn isBadCodePtr = nullptr;
    std::wstring missing;  // the name of a function that was not found
};

// The exports that set a window's procedure: SetWindowLong in the 32-bit
// build, SetWindowLongPtr (a macro for SetWindowLong there) in the 64-bit one.
#ifndef _WIN64
inline constexpr char kSetWindowLongA[] = "SetWindowLongA";
inline constexpr char kSetWindowLongW[] = "SetWindowLongW";
#else
inline constexpr char kSetWindowLongA[] = "SetWindowLongPtrA";
inline constexpr char kSetWindowLongW[] = "SetWindowLongPtrW";
#endif

// wide: the W variants of CallWindowProc and SetWindowLong, and the modules
// fetched with GetModuleHandleW; otherwise the A variants throughout.
PlatformProcs LookUpProcs(bool wide);

}  // namespace arc::subclass
