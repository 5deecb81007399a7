#include "Regional.h"

#include <windows.h>

namespace arc {
namespace {

std::wstring Info(const wchar_t* locale, LCTYPE type) {
    wchar_t buf[256] = {};
    int n = GetLocaleInfoEx(locale, type, buf, 256);
    return n > 0 ? std::wstring(buf, static_cast<size_t>(n - 1)) : std::wstring();
}

Regional Read(const wchar_t* locale) {
    Regional r;
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    if (locale == LOCALE_NAME_USER_DEFAULT) {
        GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH);
        r.localeName = name;
    } else {
        r.localeName = locale;
    }
    r.decimal = Info(locale, LOCALE_SDECIMAL);
    r.thousand = Info(locale, LOCALE_STHOUSAND);
    r.longDatePattern = Info(locale, LOCALE_SLONGDATE);
    r.shortDatePattern = Info(locale, LOCALE_SSHORTDATE);
    for (int m = 0; m < 12; ++m) {
        r.monthNames[m] = Info(locale, LOCALE_SMONTHNAME1 + m);
        r.monthAbbrevs[m] = Info(locale, LOCALE_SABBREVMONTHNAME1 + m);
    }
    // The platform numbers days from Monday (SDAYNAME1); keep Sunday first.
    for (int d = 0; d < 7; ++d) {
        int platformIndex = (d + 6) % 7;
        r.dayNames[d] = Info(locale, LOCALE_SDAYNAME1 + platformIndex);
        r.dayAbbrevs[d] = Info(locale, LOCALE_SABBREVDAYNAME1 + platformIndex);
    }
    if (r.decimal.empty()) r.decimal = L".";
    return r;
}

}  // namespace

Regional SystemRegional() { return Read(LOCALE_NAME_USER_DEFAULT); }
Regional RegionalFor(const std::wstring& localeName) { return Read(localeName.c_str()); }

}  // namespace arc
