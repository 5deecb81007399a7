#pragma once
// The engine's registry of subclassed windows: the key "h" + the window handle
// in decimal names the window's block.  An entry can outlive its block (the
// window was destroyed while subclassed, and its thunk freed the block), so
// the registry only hands out a block after checking, without touching the
// block, that the window still exists and still runs that block's thunk.
#include <windows.h>

#include <string>
#include <vector>

#include "controls/subclass/SubclassBlock.h"

namespace arc::subclass {

class SubclassRegistry {
public:
    struct Entry {
        std::wstring key;
        HWND hwnd;
        SubclassBlock* block;
    };

    static std::wstring KeyOf(HWND hwnd);

    // The window's block when its entry is live; a stale entry is withdrawn
    // and nullptr returned, as for a window that has no entry.
    SubclassBlock* FindLive(HWND hwnd);
    // False when the window already has an entry (live or not).
    bool Add(HWND hwnd, SubclassBlock* block);
    void Remove(HWND hwnd);
    // Empties the registry and gives its entries, most recent first; the
    // caller checks each with BlockIsLive when its turn comes.
    std::vector<Entry> TakeAllNewestFirst();

private:
    std::vector<Entry>::iterator Locate(const std::wstring& key);
    std::vector<Entry> entries_;  // in the order of addition
};

// True when the window exists and its current procedure is the block's thunk.
// Only then is the block in use; reads nothing of the block.
bool BlockIsLive(HWND hwnd, SubclassBlock* block);

}  // namespace arc::subclass
