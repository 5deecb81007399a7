#include "controls/subclass/SubclassRegistry.h"

#include <algorithm>
#include <cstdint>

namespace arc::subclass {

bool BlockIsLive(HWND hwnd, SubclassBlock* block) {
    if (!IsWindow(hwnd)) return false;
    // The procedure is read with the variant that installed it (installing
    // through SetWindowLongA makes a window narrow, through W wide); the
    // other variant would hand back a translation handle instead.
    LONG_PTR current = IsWindowUnicode(hwnd) ? GetWindowLongPtrW(hwnd, GWLP_WNDPROC)
                                             : GetWindowLongPtrA(hwnd, GWLP_WNDPROC);
    return reinterpret_cast<WNDPROC>(current) == ThunkOf(block);
}

std::wstring SubclassRegistry::KeyOf(HWND hwnd) {
    return L"h" + std::to_wstring(reinterpret_cast<std::uintptr_t>(hwnd));
}

std::vector<SubclassRegistry::Entry>::iterator SubclassRegistry::Locate(const std::wstring& key) {
    return std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.key == key; });
}

SubclassBlock* SubclassRegistry::FindLive(HWND hwnd) {
    auto it = Locate(KeyOf(hwnd));
    if (it == entries_.end()) return nullptr;
    if (!BlockIsLive(hwnd, it->block)) {
        entries_.erase(it);
        return nullptr;
    }
    return it->block;
}

bool SubclassRegistry::Add(HWND hwnd, SubclassBlock* block) {
    std::wstring key = KeyOf(hwnd);
    if (Locate(key) != entries_.end()) return false;
    entries_.push_back({std::move(key), hwnd, block});
    return true;
}

void SubclassRegistry::Remove(HWND hwnd) {
    auto it = Locate(KeyOf(hwnd));
    if (it != entries_.end()) entries_.erase(it);
}

std::vector<SubclassRegistry::Entry> SubclassRegistry::TakeAllNewestFirst() {
    std::vector<Entry> all(entries_.rbegin(), entries_.rend());
    entries_.clear();
    return all;
}

}  // namespace arc::subclass
