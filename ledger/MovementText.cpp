#include "MovementText.h"

#include "platform/runtime/DateValue.h"
#include "platform/runtime/Format.h"

namespace arc {

std::wstring NamedMovement(const std::wstring& date, const std::wstring& description, double income, double expense,
                           const Regional& regional) {
    // One line: each run of line breaks and tabs becomes one blank.
    std::wstring line;
    for (wchar_t c : description) {
        const bool breaks = c == L'\r' || c == L'\n' || c == L'\t';
        if (!breaks) line += c;
        else if (line.empty() || line.back() != L' ') line += L' ';
    }
    if (line.size() > 60) line = line.substr(0, 57) + L"...";
    const auto day = ParseDate(date, regional);
    std::wstring text = L"del " + (day ? ShortDate(*day, regional) : date) + L", ''" + line + L"'', ";
    if (income > 0) return text + L"ingreso de " + FormatNumber(income, L"#,##0.00", regional);
    if (expense > 0) return text + L"egreso de " + FormatNumber(expense, L"#,##0.00", regional);
    return text + L"sin importe";
}

}  // namespace arc
