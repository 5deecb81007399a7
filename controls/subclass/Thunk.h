#pragma once
// The window procedure of a subclassed window.  The code at block + 56 is a
// short stub that puts the block's address in front of the message's
// arguments and jumps to the dispatcher, which returns straight to the
// system: once the block is freed no instruction of it runs again.
#include "controls/subclass/SubclassBlock.h"

namespace arc::subclass {

// Writes the stub for the block at blockAddress into code (the block's image
// may be built elsewhere and copied in afterwards).
void WriteThunkCode(BYTE (&code)[kCodeSize], SubclassBlock* blockAddress);

}  // namespace arc::subclass
