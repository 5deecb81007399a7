#pragma once
// A movement named in words, as the questions and the report's list of
// changes show it: "del 05/01/2026, ''OFRENDA'', ingreso de 1.500,00", its
// description on one line and cut when long.
#include "platform/runtime/Regional.h"

#include <string>

namespace arc {

std::wstring NamedMovement(const std::wstring& date, const std::wstring& description, double income, double expense,
                           const Regional& regional);

}  // namespace arc
