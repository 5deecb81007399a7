#include "controls/subclass/MessageTable.h"

#include "controls/subclass/SubclassBlock.h"

namespace arc::subclass {

namespace {

LONG AsEntry(UINT uMsg) { return static_cast<LONG>(uMsg); }

}  // namespace

TableChange AddToTable(LONG* table, UINT uMsg) {
    LONG& count = table[0];
    if (uMsg == kAllMessages) {
        count = -1;
        return TableChange::Done;
    }
    if (count >= kTableEntries) return TableChange::Overflow;
    if (count < 0) {
        // Open to every message: the table becomes this one message.
        table[1] = AsEntry(uMsg);
        count = 1;
        return TableChange::Done;
    }
    // A message may sit behind a hole, so the whole counted range is
    // searched before a hole is reused.
    int hole = 0;
    for (int i = 1; i <= count; ++i) {
        if (table[i] == AsEntry(uMsg)) return TableChange::Done;
        if (table[i] == 0 && hole == 0) hole = i;
    }
    if (hole != 0) {
        table[hole] = AsEntry(uMsg);
    } else {
        table[count + 1] = AsEntry(uMsg);
        ++count;
    }
    return TableChange::Done;
}

TableChange DeleteFromTable(LONG* table, UINT uMsg) {
    LONG& count = table[0];
    if (uMsg == kAllMessages) {
        count = 0;
        return TableChange::Done;
    }
    for (int i = 1; i <= count; ++i) {
        if (table[i] == AsEntry(uMsg)) {
            table[i] = 0;
            return TableChange::Done;
        }
    }
    return TableChange::NotFound;
}

bool TableWants(const LONG* table, UINT uMsg) {
    LONG count = table[0];
    if (count < 0) return true;
    for (int i = 1; i <= count && i <= kTableEntries; ++i) {
        if (table[i] == AsEntry(uMsg)) return true;
    }
    return false;
}

std::wstring TableOverflowText() {
    return L"Message table overflow. Either increase the value of Const MSG_ENTRIES or use ALL_MESSAGES instead of "
           L"specific message values";
}

std::wstring NotFoundText(UINT uMsg) {
    std::wstring hex;
    do {
        hex.insert(hex.begin(), L"0123456789ABCDEF"[uMsg % 16]);
        uMsg /= 16;
    } while (uMsg != 0);
    return L"Message &H" + hex + L" not found in table";
}

}  // namespace arc::subclass
