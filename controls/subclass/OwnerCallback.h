#pragma once
// Naming the owner's callback by ordinal, and the shape in which the thunk
// calls it.
#include <windows.h>

namespace arc {
class SubclassOwner;
}

namespace arc::subclass {

// A __stdcall method of the owner called as a plain function: the owner's
// pointer comes first on the stack, then the callback's arguments.
using OwnerCallbackFn = void(__stdcall*)(void* owner, BOOL bBefore, BOOL* bHandled, LRESULT* lReturn, HWND lng_hWnd,
                                         UINT uMsg, WPARAM wParam, LPARAM lParam, LONG_PTR* lParamUser);

// The code address of the owner's method that nOrdinal names, counted back
// from the last method of the SubclassOwner interface (1 = WindowProc), read
// from the owner's own method table so that its override is the one found.
// nullptr when there is no owner or the ordinal names no method.
void* FindCallback(SubclassOwner* owner, int nOrdinal);

}  // namespace arc::subclass
