#include "controls/subclass/clsSubClass.h"

#include <cstdint>
#include <cstring>

#include "controls/subclass/BlockMemory.h"
#include "controls/subclass/MessageTable.h"
#include "controls/subclass/OwnerCallback.h"
#include "controls/subclass/PlatformProcs.h"
#include "controls/subclass/SubclassDiagnostics.h"
#include "controls/subclass/Thunk.h"

namespace arc {

using subclass::ReportDiagnostic;
using subclass::SubclassBlock;

static_assert(clsSubClass::ALL_MESSAGES == subclass::kAllMessages);
static_assert(clsSubClass::MSG_ENTRIES == subclass::kTableEntries);

namespace {

std::wstring Decimal(DWORD value) { return std::to_wstring(value); }

// Applies a table operation to the tables that When chooses, reporting what
// the table refuses.
template <typename Operation>
void ApplyToTables(SubclassBlock* block, UINT uMsg, int When, Operation operation) {
    LONG* tables[] = {When & clsSubClass::MSG_BEFORE ? block->before : nullptr,
                      When & clsSubClass::MSG_AFTER ? block->after : nullptr};
    for (LONG* table : tables) {
        if (!table) continue;
        switch (operation(table, uMsg)) {
        case subclass::TableChange::Overflow:
            ReportDiagnostic(L"zAddMsg", subclass::TableOverflowText());
            break;
        case subclass::TableChange::NotFound:
            ReportDiagnostic(L"zDelMsg", subclass::NotFoundText(uMsg));
            break;
        case subclass::TableChange::Done:
            break;
        }
    }
}

bool BlockIsCode(SubclassBlock* block) { return !IsBadCodePtr(reinterpret_cast<FARPROC>(block)); }

}  // namespace

clsSubClass::clsSubClass() = default;

clsSubClass::~clsSubClass() {
    try {
        for (const auto& entry : registry_.TakeAllNewestFirst()) {
            // An entry whose window is gone, or no longer runs its block,
            // names memory that may already be freed: it is only dropped.
            if (subclass::BlockIsLive(entry.hwnd, entry.block) && BlockIsCode(entry.block)) {
                ReleaseWindow(entry.hwnd, entry.block);
            }
        }
    } catch (...) {
    }
}

bool clsSubClass::Refuse(const std::wstring& message) {
    ReportDiagnostic(L"ssc_Subclass", message);
    return false;
}

bool clsSubClass::ssc_Subclass(HWND lng_hWnd, LONG_PTR lParamUser, int nOrdinal, SubclassOwner* oCallback,
                               bool bIdeSafety, bool bUnicode) {
    try {
        if (!IsWindow(lng_hWnd)) return Refuse(L"Invalid window handle");
        DWORD process = 0;
        GetWindowThreadProcessId(lng_hWnd, &process);
        if (process != GetCurrentProcessId()) return Refuse(L"Window handle belongs to another process");

        void* callback = subclass::FindCallback(oCallback, nOrdinal);
        if (!callback) return Refuse(L"Callback method not found");

        SubclassBlock* block = subclass::ReserveBlock();
        if (!block) return Refuse(L"VirtualAlloc failed, error: " + Decimal(GetLastError()));

        registryCreated_ = true;
        registry_.FindLive(lng_hWnd);  // withdraws an entry left by a window that reused this handle
        if (!registry_.Add(lng_hWnd, block)) {
            subclass::FreeBlock(block, ::VirtualFree);
            return Refuse(L"Window handle is already subclassed");
        }

        const bool wide = bUnicode && IsWindowUnicode(lng_hWnd);
        const subclass::PlatformProcs procs = subclass::LookUpProcs(wide);
        if (!procs.missing.empty()) {
            registry_.Remove(lng_hWnd);
            subclass::FreeBlock(block, ::VirtualFree);
            return Refuse(L"Function not found: " + procs.missing);
        }

        // The block's first part is built aside and copied in one move; the
        // tables stay zero, both empty.
        SubclassBlock image{};
        image.hwnd = lng_hWnd;
        image.callWindowProc = procs.callWindowProc;
        image.setWindowLong = procs.setWindowLong;
        image.virtualFree = procs.virtualFree;
        image.isBadCodePtr = procs.isBadCodePtr;
        image.owner = oCallback;
        image.callback = callback;
        image.beforeTable = block->before;
        image.afterTable = block->after;
        image.lParamUser = lParamUser;
        // The window's current procedure, in case a message arrives before
        // SetWindowLong's answer is stored.
        image.previous = reinterpret_cast<WNDPROC>(wide ? GetWindowLongPtrW(lng_hWnd, GWLP_WNDPROC)
                                                        : GetWindowLongPtrA(lng_hWnd, GWLP_WNDPROC));
        subclass::WriteThunkCode(image.code, block);
        std::memcpy(block, &image, subclass::kHeaderSize);
        FlushInstructionCache(GetCurrentProcess(), block->code, sizeof block->code);

        SetLastError(0);
        const LONG_PTR previous =
            procs.setWindowLong(lng_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(subclass::ThunkOf(block)));
        if (previous == 0) {
            const DWORD error = GetLastError();
            registry_.Remove(lng_hWnd);
            subclass::FreeBlock(block, ::VirtualFree);
            return Refuse(L"SetWindowLong failed, error #" + Decimal(error));
        }
        block->previous = reinterpret_cast<WNDPROC>(previous);
        return true;
    } catch (...) {
        return false;
    }
}

SubclassBlock* clsSubClass::zMap_VFunction(HWND lng_hWnd) {
    if (!registryCreated_) {
        ReportDiagnostic(L"zMap_VFunction", L"Thunk hasn't been initialized");
        return nullptr;
    }
    SubclassBlock* block = registry_.FindLive(lng_hWnd);
    if (!block) {
        ReportDiagnostic(L"zMap_VFunction", L"Thunk type for ID of " +
                                                std::to_wstring(reinterpret_cast<std::uintptr_t>(lng_hWnd)) +
                                                L" does not exist");
    }
    return block;
}

void clsSubClass::ReleaseWindow(HWND lng_hWnd, SubclassBlock* block) {
    block->releasePending = subclass::kReleaseRequested;
    block->before[0] = 0;
    block->after[0] = 0;
    // The thunk completes the release on this message, or, when the window
    // is inside another message, on the first later one that finds nothing
    // else under way.  The block may be gone when SendMessage returns.
    SendMessageA(lng_hWnd, WM_NULL, 0, 0);
    registry_.Remove(lng_hWnd);
}

void clsSubClass::ssc_UnSubclass(HWND lng_hWnd) {
    try {
        SubclassBlock* block = zMap_VFunction(lng_hWnd);
        if (!block) return;
        if (BlockIsCode(block)) {
            ReleaseWindow(lng_hWnd, block);
        } else {
            registry_.Remove(lng_hWnd);
        }
    } catch (...) {
    }
}

void clsSubClass::ssc_AddMsg(HWND lng_hWnd, UINT uMsg, int When) {
    try {
        SubclassBlock* block = zMap_VFunction(lng_hWnd);
        if (block && BlockIsCode(block)) ApplyToTables(block, uMsg, When, subclass::AddToTable);
    } catch (...) {
    }
}

void clsSubClass::ssc_DelMsg(HWND lng_hWnd, UINT uMsg, int When) {
    try {
        SubclassBlock* block = zMap_VFunction(lng_hWnd);
        if (block && BlockIsCode(block)) ApplyToTables(block, uMsg, When, subclass::DeleteFromTable);
    } catch (...) {
    }
}

}  // namespace arc
