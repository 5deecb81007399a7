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

// wide: the W variants of CallWindowProc and SetWindowLong, and the modules
// fetched with GetModuleHandleW; otherwise the A variants throughout.
PlatformProcs LookUpProcs(bool wide);

}  // namespace arc::subclass
