#pragma once
// Reading a Norma 43 ("Cuaderno 43") file: one statement per account, each
// checked as a careful reader checks it (its movements add up to the
// bank's totals, the initial balance plus credits minus debits is the final
// one, the account of the header and of the totals agree), so that a file
// that is cut, altered or misread is refused whole.
#include "BankStatement.h"

#include <string>
#include <vector>

namespace arc {

// True when the text starts like a Norma 43 file (its first record is a
// file header 00 or an account header 11).
bool LooksLikeNorma43(const std::wstring& text);

// Every account of the file, in the file's order.  Lines may end in CR LF
// or LF and may lack their trailing spaces.  Raises StatementError naming
// the line and what is wrong for a malformed or inconsistent file; amounts
// in its messages are written in the regional format.
std::vector<AccountStatement> ReadNorma43(const std::wstring& text, const Regional& regional);

}  // namespace arc
