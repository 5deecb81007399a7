#include "BankStatement.h"

#include "platform/runtime/Format.h"
#include "platform/runtime/Sha256.h"
#include "platform/runtime/Text.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <map>

namespace arc {

std::int64_t AccountStatement::Credits() const {
    std::int64_t sum = 0;
    for (const auto& m : movements)
        if (m.cents > 0) sum += m.cents;
    return sum;
}

std::int64_t AccountStatement::Debits() const {
    std::int64_t sum = 0;
    for (const auto& m : movements)
        if (m.cents < 0) sum -= m.cents;
    return sum;
}

size_t AccountStatement::CreditCount() const {
    return static_cast<size_t>(std::count_if(movements.begin(), movements.end(), [](auto& m) { return m.cents > 0; }));
}

size_t AccountStatement::DebitCount() const {
    return static_cast<size_t>(std::count_if(movements.begin(), movements.end(), [](auto& m) { return m.cents < 0; }));
}

std::wstring CentsText(std::int64_t cents, const Regional& regional) {
    return FormatNumber(CentsValue(cents), L"#,##0.00", regional);
}

double CentsValue(std::int64_t cents) { return static_cast<double>(cents) / 100.0; }

std::int64_t CentsOf(double amount) { return std::llround(amount * 100.0); }

void AssignFingerprints(std::vector<BankMovement>& movements, const std::vector<std::string>& keys) {
    Sha256 sha;
    std::map<std::string, int> seen;
    for (size_t i = 0; i < movements.size() && i < keys.size(); ++i) {
        const int repeat = seen[keys[i]]++;
        movements[i].fingerprint = sha.Hex(keys[i] + "|" + std::to_string(repeat));
    }
}

std::string TextFingerprint(const std::string& text) { return Sha256().Hex(text); }

std::wstring Folded(const std::wstring& text) {
    static const wchar_t kFrom[] = L"ÀÁÂÃÄÅÇÈÉÊËÌÍÎÏÑÒÓÔÕÖÙÚÛÜÝ";
    static const wchar_t kTo[] = L"AAAAAACEEEEIIIINOOOOOUUUUY";
    std::wstring out;
    bool blank = false;
    for (wchar_t c : ToUpper(text)) {
        if (const wchar_t* at = std::wcschr(kFrom, c); at && c) c = kTo[at - kFrom];
        if (IsCharAlphaNumericW(c)) {
            if (blank && !out.empty()) out += L' ';
            out += c;
            blank = false;
        } else {
            blank = true;
        }
    }
    return out;
}

void SortByDate(std::vector<BankMovement>& movements) {
    std::stable_sort(movements.begin(), movements.end(),
                     [](const BankMovement& a, const BankMovement& b) { return a.date < b.date; });
}

}  // namespace arc
