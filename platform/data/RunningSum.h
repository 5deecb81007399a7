#pragma once
// Running sums written by one UPDATE that walks the rows once.  The SQL
// function SUMA_CORRIDA(id, value) exists while the statement runs: each
// call adds the value to the sum, which starts from the given value, and
// returns the sum so far.  The values are added as SQL's SUM adds them
// (integers and reals as reals, a NULL skipped, a text by its leading
// number), in the order of the rows, so the sums come out bit for bit as
// SUM(value) OVER (ORDER BY id) gives them from the same start.  A row that
// arrives out of ascending id order stops the statement with an error
// instead of writing a wrong sum.
#include "Connection.h"

#include <string>

namespace arc::data {

void ExecuteWithRunningSum(Connection& connection, const std::wstring& sql, double start);

}  // namespace arc::data
