#include "controls/subclass/BlockMemory.h"

namespace arc::subclass {

namespace {
long liveBlocks = 0;  // only the user-interface thread subclasses windows
}

SubclassBlock* ReserveBlock() {
    void* memory = VirtualAlloc(nullptr, sizeof(SubclassBlock), MEM_RESERVE | MEM_COMMIT, PAGE_EXECUTE_READWRITE);
    if (memory) ++liveBlocks;
    return static_cast<SubclassBlock*>(memory);
}

void FreeBlock(SubclassBlock* block, VirtualFreeFn virtualFree) {
    if (virtualFree(block, 0, MEM_RELEASE)) --liveBlocks;
}

long LiveBlockCount() { return liveBlocks; }

}  // namespace arc::subclass
