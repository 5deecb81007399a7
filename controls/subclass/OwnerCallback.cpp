#include "controls/subclass/OwnerCallback.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "controls/subclass/clsSubClass.h"

namespace arc::subclass {

namespace {

// The slot of WindowProc in SubclassOwner's method table.  This compiler
// represents a pointer to a virtual member function as 1 + the byte offset
// of its slot, followed by the adjustment of the object pointer; reading it
// keeps the ordinals right should methods be added before WindowProc.
int WindowProcSlot() {
    auto method = &SubclassOwner::WindowProc;
    struct {
        std::uintptr_t slotOffsetPlusOne;
        std::ptrdiff_t adjustment;
    } representation;
    static_assert(sizeof(representation) == sizeof(method));
    std::memcpy(&representation, &method, sizeof method);
    if ((representation.slotOffsetPlusOne & 1) == 0) return -1;
    return static_cast<int>((representation.slotOffsetPlusOne - 1) / sizeof(void*));
}

}  // namespace

void* FindCallback(SubclassOwner* owner, int nOrdinal) {
    if (!owner || IsBadReadPtr(owner, sizeof(void*))) return nullptr;
    const int last = WindowProcSlot();
    if (last < 0 || nOrdinal < 1 || nOrdinal > last + 1) return nullptr;
    void* const* methods = *reinterpret_cast<void* const* const*>(owner);
    const UINT_PTR tableBytes = static_cast<UINT_PTR>(last + 1) * sizeof(void*);
    if (!methods || IsBadReadPtr(methods, tableBytes)) return nullptr;
    void* method = methods[last + 1 - nOrdinal];
    if (!method || IsBadCodePtr(reinterpret_cast<FARPROC>(method))) return nullptr;
    return method;
}

}  // namespace arc::subclass
