#pragma once
// The two message tables of a block: which messages reach the owner's
// callback before, and which after, the window's own procedure.
#include <windows.h>

#include <string>

namespace arc::subclass {

constexpr UINT kAllMessages = static_cast<UINT>(-1);

enum class TableChange { Done, Overflow, NotFound };

// Adds a message (kAllMessages: every message).  A table holding 32 entries
// refuses any addition, even of a message it holds, before it is searched.
// A message already present is not added twice; otherwise the first hole is
// reused, else the message is appended.  A table open to every message
// becomes a table of this one message.
TableChange AddToTable(LONG* table, UINT uMsg);

// Deletes a message, leaving a hole (kAllMessages: empties the table).
// NotFound when the table does not hold the message.
TableChange DeleteFromTable(LONG* table, UINT uMsg);

// True when the table asks for the message.  A hole holds 0, so WM_NULL
// matches a table that has one.
bool TableWants(const LONG* table, UINT uMsg);

// The diagnostic texts of the table operations.
std::wstring TableOverflowText();
std::wstring NotFoundText(UINT uMsg);  // "Message &H4E not found in table"

}  // namespace arc::subclass
