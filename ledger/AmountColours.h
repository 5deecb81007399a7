#pragma once
// The colours of income and expense wherever the ledger shows the two apart:
// the window's amount headings and the summary's chart and headings.
#include <windows.h>

namespace arc {

constexpr COLORREF kIncomeColour = RGB(0, 128, 0);
constexpr COLORREF kExpenseColour = RGB(255, 0, 0);

}  // namespace arc
