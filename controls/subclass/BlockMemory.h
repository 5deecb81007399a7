#pragma once
// Reserving and freeing the blocks, with a count of the blocks that are
// reserved and not yet freed, so that a leak shows.
#include "controls/subclass/SubclassBlock.h"

namespace arc::subclass {

// A zero-filled executable block; nullptr, with the last error set, when the
// system refuses.
SubclassBlock* ReserveBlock();

// Frees the block through the given VirtualFree (the thunk passes the one
// stored in the block).  Touches nothing of the block.
void FreeBlock(SubclassBlock* block, VirtualFreeFn virtualFree);

// Blocks reserved and not freed, over the whole process.
long LiveBlockCount();

}  // namespace arc::subclass
