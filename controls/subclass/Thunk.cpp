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
    setWindowLong(hwnd, GWL_WNDPROC, reinterpret_cast<LONG>(previous));
    FreeBlock(block, virtualFree);
}

// Runs for every message of the window, called by the stub with the block's
// address in front of the window procedure's own arguments.
LRESULT __stdcall Dispatch(SubclassBlock* block, HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
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

void Put32(BYTE*& at, const void* value) {
    const DWORD bits = reinterpret_cast<DWORD>(value);
    std::memcpy(at, &bits, sizeof bits);
    at += sizeof bits;
}

}  // namespace

void WriteThunkCode(BYTE (&code)[kCodeSize], SubclassBlock* blockAddress) {
    std::memset(code, 0xCC, kCodeSize);  // int3 beyond the stub
    BYTE* at = code;
    *at++ = 0x58;  // pop eax            the caller's return address
    *at++ = 0x68;  // push blockAddress  Dispatch's first argument
    Put32(at, blockAddress);
    *at++ = 0x50;  // push eax           Dispatch returns to the caller
    *at++ = 0xB9;  // mov ecx, Dispatch
    Put32(at, reinterpret_cast<const void*>(&Dispatch));
    *at++ = 0xFF;  // jmp ecx
    *at++ = 0xE1;
}

}  // namespace arc::subclass
