#include "Menu.h"

namespace arc {
namespace {

bool Fill(HMENU menu, const std::vector<MenuItem>& items) {
    for (const MenuItem& item : items) {
        if (item.text.empty()) {
            if (!AppendMenuW(menu, MF_SEPARATOR, 0, nullptr)) return false;
            continue;
        }
        if (item.items.empty()) {
            if (!AppendMenuW(menu, MF_STRING, item.command, item.text.c_str())) return false;
            continue;
        }
        HMENU sub = CreatePopupMenu();
        if (!sub) return false;
        if (!Fill(sub, item.items) ||
            !AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), item.text.c_str())) {
            DestroyMenu(sub);
            return false;
        }
    }
    return true;
}

}  // namespace

HMENU MakeMenuBar(const std::vector<MenuItem>& bar) {
    if (bar.empty()) return nullptr;
    HMENU menu = CreateMenu();
    if (menu && !Fill(menu, bar)) {
        DestroyMenu(menu);  // with the drop-downs already attached
        return nullptr;
    }
    return menu;
}

ShortcutTable::ShortcutTable(const std::vector<Shortcut>& shortcuts) {
    std::vector<ACCEL> table;
    for (const Shortcut& s : shortcuts)
        table.push_back({static_cast<BYTE>(FVIRTKEY | s.modifiers), s.key, static_cast<WORD>(s.command)});
    if (!table.empty()) table_ = CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
}

ShortcutTable::~ShortcutTable() {
    if (table_) DestroyAcceleratorTable(table_);
}

}  // namespace arc
