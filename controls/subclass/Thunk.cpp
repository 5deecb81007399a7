#include "controls/subclass/Thunk.h"

#include <cstring>

#include "controls/subclass/BlockMemory.h"
#include "controls/subclass/MessageTable.h"
#include "controls/subclass/OwnerCallback.h"

namespace arc::subclass {

namespace {

// Calls the owner's callback when the table asks for the message.  Reads the
// block only; calls only the addresses stored in it.
void Pass(SubclassBlock* block, const LONG* table, BOOL bBefore, BOOL* bHandled, LRESULT* lReturn, UINT uMsg,
          WPARAM wParam, LPARAM lParam) {
    if (!TableWants(table, uMsg)) return;
    if (block->isBadCodePtr(reinterpret_cast<FARPROC>(block->callback))) return;
    auto callback = reinterpret_cast<OwnerCallbackFn>(block->callback);
    try {
        callback(block->owner, bBefore, bHandled, lReturn, block->hwnd, uMsg, wParam, lParam, &block->lParamUser);
    } catch (...) {
        // No exception crosses into the system; the message goes on as if
        // the callback had returned.
    }
}

// Puts the window's own procedure back and frees the block; nothing of the
// block is touched afterwards.
void Release(SubclassBlock* block) {
    const HWND hwnd = block->hwnd;
    const WNDPROC previous = block->previous;
    const SetWindowLongFn setWindowLong = block->setWindowLong;
    const VirtualFreeFn virtualFree = block->virtualFree;
    setWindowLong(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    FreeBlock(block, virtualFree);
}

// Runs for every message of the window, called through the block's stub.
LRESULT Dispatch(SubclassBlock* block, HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    LRESULT lReturn = 0;
    BOOL bHandled = FALSE;
    ++block->inUse;

    Pass(block, block->beforeTable, TRUE, &bHandled, &lReturn, uMsg, wParam, lParam);
    // The window's own procedure must see its destruction, whatever the
    // callback said.
    if (uMsg == WM_DESTROY) block->releasePending = kWindowDestroyed;

    if (!bHandled || uMsg == WM_DESTROY) {
        lReturn = block->callWindowProc(block->previous, hwnd, uMsg, wParam, lParam);
        if (block->inUse == 1 && block->releasePending != kNoRelease) {
            // No other invocation is under way: the release completes now.
            // The window's own result is what the caller gets.
            Release(block);
            return lReturn;
        }
        Pass(block, block->afterTable, FALSE, &bHandled, &lReturn, uMsg, wParam, lParam);
    }

    if (block->inUse == 1 && block->releasePending == kWindowDestroyed) {
        // The window was destroyed from inside this invocation (its
        // WM_DESTROY and WM_NCDESTROY came nested), so no later message will
        // come to free the block.
        Release(block);
        return lReturn;
    }
    --block->inUse;
    return lReturn;
}

template <typename Bits>
void Put(BYTE*& at, Bits bits) {
    std::memcpy(at, &bits, sizeof bits);
    at += sizeof bits;
}

#ifndef _WIN64
// The stub calls this with the block's address in front of the window
// procedure's own arguments.
LRESULT __stdcall DispatchFromStub(SubclassBlock* block, HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return Dispatch(block, hwnd, uMsg, wParam, lParam);
}
#else
// The stub calls this with the block's address in place of the window handle
// (the first argument, in rcx); the handle is the block's own.
LRESULT DispatchFromStub(SubclassBlock* block, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return Dispatch(block, block->hwnd, uMsg, wParam, lParam);
}
#endif

}  // namespace

void WriteThunkCode(BYTE (&code)[kCodeSize], SubclassBlock* blockAddress) {
    std::memset(code, 0xCC, kCodeSize);  // int3 beyond the stub
    BYTE* at = code;
#ifndef _WIN64
    *at++ = 0x58;  // pop eax            the caller's return address
    *at++ = 0x68;  // push blockAddress  the dispatcher's first argument
    Put(at, reinterpret_cast<DWORD>(blockAddress));
    *at++ = 0x50;  // push eax           the dispatcher returns to the caller
    *at++ = 0xB9;  // mov ecx, DispatchFromStub
    Put(at, reinterpret_cast<DWORD>(&DispatchFromStub));
    *at++ = 0xFF;  // jmp ecx
    *at++ = 0xE1;
#else
    // The stack stays as the caller made it (return address, shadow space),
    // so the dispatcher returns straight to the caller.
    *at++ = 0x48;  // mov rcx, blockAddress   the dispatcher's first argument
    *at++ = 0xB9;
    Put(at, reinterpret_cast<ULONG_PTR>(blockAddress));
    *at++ = 0x48;  // mov rax, DispatchFromStub
    *at++ = 0xB8;
    Put(at, reinterpret_cast<ULONG_PTR>(&DispatchFromStub));
    *at++ = 0xFF;  // jmp rax
    *at++ = 0xE0;
#endif
}

}  // namespace arc::subclass
