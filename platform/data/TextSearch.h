#pragma once
// The SQL function CONTIENE(text, needle), added to a connection: 1 when the
// text contains the needle, ignoring case and accents ("NIÑOS" contains
// "niños" and "ninos"), 0 when not, NULL when the text is NULL.  Searches
// over a whole ledger use it, so it folds each row's text without copies to
// UTF-16 and folds the needle once per statement.
#include "Connection.h"

namespace arc::data {

void AddTextSearch(Connection& connection);

}  // namespace arc::data
