#pragma once
// A window's menu bar and its keyboard shortcuts, made from a description
// that reads like the menu itself: each top item with its items, a command
// number for each, "&" before the letter that Alt (or the open menu) takes,
// and the shortcut written after a tab ("Buscar y corregir...\tCtrl+B").
#include <windows.h>

#include <string>
#include <vector>

namespace arc {

struct MenuItem {
    std::wstring text;            // empty: a separator
    UINT command = 0;             // the WM_COMMAND id of an item
    std::vector<MenuItem> items;  // a top item's drop-down
};

// A key that runs a command wherever the focus is in the window.
struct Shortcut {
    WORD key;          // a virtual key ('B', VK_F1...)
    BYTE modifiers;    // FCONTROL, FSHIFT, FALT (FVIRTKEY is implied)
    UINT command;
};

// Makes the menu bar of the description; nullptr when it is empty or the
// system refuses it.  A menu given to a window is destroyed with it.
HMENU MakeMenuBar(const std::vector<MenuItem>& bar);

// The table of shortcuts, destroyed with its owner.
class ShortcutTable {
public:
    ShortcutTable() = default;
    explicit ShortcutTable(const std::vector<Shortcut>& shortcuts);
    ~ShortcutTable();
    ShortcutTable(const ShortcutTable&) = delete;
    ShortcutTable& operator=(const ShortcutTable&) = delete;
    HACCEL Get() const { return table_; }

private:
    HACCEL table_ = nullptr;
};

}  // namespace arc
