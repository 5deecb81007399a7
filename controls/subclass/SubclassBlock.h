#pragma once
// The per-window memory block of the subclassing engine.  One block is
// reserved as executable memory for each subclassed window; the window
// procedure installed for the window is the code in the block (offset 56 in
// the 32-bit build, 104 in the 64-bit one), and that code finds everything it
// needs at the fixed offsets asserted below.  The 64-bit block has the same
// fields in the same order, each pointer eight bytes wide.
#include <windows.h>

#include <cstddef>

namespace arc::subclass {

static_assert(sizeof(void*) == 4 || sizeof(void*) == 8, "the block has a 32-bit and a 64-bit layout");

// Table of message numbers: entry 0 is the count (-1 = every message, 0 =
// empty), entries 1 to 32 hold message numbers; 0 in the counted range is a
// hole left by a deletion.
constexpr int kTableEntries = 32;
using MessageTable = LONG[kTableEntries + 1];

using CallWindowProcFn = LRESULT(WINAPI*)(WNDPROC, HWND, UINT, WPARAM, LPARAM);
// SetWindowLongA/W in the 32-bit build (LONG_PTR is LONG there),
// SetWindowLongPtrA/W in the 64-bit one.
using SetWindowLongFn = LONG_PTR(WINAPI*)(HWND, int, LONG_PTR);
using VirtualFreeFn = BOOL(WINAPI*)(LPVOID, SIZE_T, DWORD);
using IsBadCodePtrFn = BOOL(WINAPI*)(FARPROC);

// The release-pending flag.
constexpr LONG kNoRelease = 0;
constexpr LONG kReleaseRequested = 1;
constexpr LONG kWindowDestroyed = 2;

constexpr std::size_t kHeaderSize = sizeof(void*) == 4 ? 300 : 348;  // everything up to the tables
constexpr std::size_t kCodeSize = 244;

struct SubclassBlock {
    LONG inUse;                      // invocations of the window procedure under way
    LONG releasePending;             // kNoRelease, kReleaseRequested, kWindowDestroyed
    HWND hwnd;                       // the subclassed window
    void* debuggerState;             // unused here, always zero
    CallWindowProcFn callWindowProc; // CallWindowProcA or CallWindowProcW
    SetWindowLongFn setWindowLong;   // SetWindowLong(Ptr)A or SetWindowLong(Ptr)W
    VirtualFreeFn virtualFree;
    IsBadCodePtrFn isBadCodePtr;
    void* owner;                     // the owner object, held without a reference
    WNDPROC previous;                // the window's own procedure
    void* callback;                  // the owner's callback method
    LONG* beforeTable;               // = before
    LONG* afterTable;                // = after
    LONG_PTR lParamUser;             // the owner's value for this window
    BYTE code[kCodeSize];            // the installed window procedure
    MessageTable before;
    MessageTable after;
};

#ifndef _WIN64
static_assert(offsetof(SubclassBlock, inUse) == 0);
static_assert(offsetof(SubclassBlock, releasePending) == 4);
static_assert(offsetof(SubclassBlock, hwnd) == 8);
static_assert(offsetof(SubclassBlock, debuggerState) == 12);
static_assert(offsetof(SubclassBlock, callWindowProc) == 16);
static_assert(offsetof(SubclassBlock, setWindowLong) == 20);
static_assert(offsetof(SubclassBlock, virtualFree) == 24);
static_assert(offsetof(SubclassBlock, isBadCodePtr) == 28);
static_assert(offsetof(SubclassBlock, owner) == 32);
static_assert(offsetof(SubclassBlock, previous) == 36);
static_assert(offsetof(SubclassBlock, callback) == 40);
static_assert(offsetof(SubclassBlock, beforeTable) == 44);
static_assert(offsetof(SubclassBlock, afterTable) == 48);
static_assert(offsetof(SubclassBlock, lParamUser) == 52);
static_assert(offsetof(SubclassBlock, code) == 56);
static_assert(offsetof(SubclassBlock, before) == kHeaderSize);
static_assert(offsetof(SubclassBlock, after) == 432);
static_assert(sizeof(SubclassBlock) == 564);
#else
static_assert(offsetof(SubclassBlock, inUse) == 0);
static_assert(offsetof(SubclassBlock, releasePending) == 4);
static_assert(offsetof(SubclassBlock, hwnd) == 8);
static_assert(offsetof(SubclassBlock, debuggerState) == 16);
static_assert(offsetof(SubclassBlock, callWindowProc) == 24);
static_assert(offsetof(SubclassBlock, setWindowLong) == 32);
static_assert(offsetof(SubclassBlock, virtualFree) == 40);
static_assert(offsetof(SubclassBlock, isBadCodePtr) == 48);
static_assert(offsetof(SubclassBlock, owner) == 56);
static_assert(offsetof(SubclassBlock, previous) == 64);
static_assert(offsetof(SubclassBlock, callback) == 72);
static_assert(offsetof(SubclassBlock, beforeTable) == 80);
static_assert(offsetof(SubclassBlock, afterTable) == 88);
static_assert(offsetof(SubclassBlock, lParamUser) == 96);
static_assert(offsetof(SubclassBlock, code) == 104);
static_assert(offsetof(SubclassBlock, before) == kHeaderSize);
static_assert(offsetof(SubclassBlock, after) == 480);
static_assert(sizeof(SubclassBlock) == 616);  // 612 bytes of fields, padded to the pointer size
#endif

// The window procedure installed for the block's window.
inline WNDPROC ThunkOf(SubclassBlock* block) { return reinterpret_cast<WNDPROC>(block->code); }

// The block whose thunk is the given procedure (the inverse of ThunkOf).
inline SubclassBlock* BlockOfThunk(WNDPROC thunk) {
    return reinterpret_cast<SubclassBlock*>(reinterpret_cast<BYTE*>(thunk) - offsetof(SubclassBlock, code));
}

}  // namespace arc::subclass
