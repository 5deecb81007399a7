#include "PropertyBag.h"

#include "platform/runtime/DateValue.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Text.h"

#include <cstdio>
#include <cwctype>

namespace arc {
namespace {

[[noreturn]] void TypeMismatch() { throw RuntimeError(kErrTypeMismatch); }

std::wstring Number17(double v) {
    wchar_t buf[64];
    swprintf(buf, 64, L"%.17g", v);
    return buf;
}

std::wstring Quote(const std::wstring& text) {
    std::wstring out = L"\"";
    for (wchar_t c : text) {
        switch (c) {
            case L'"': out += L"\\\""; break;
            case L'\\': out += L"\\\\"; break;
            case L'\n': out += L"\\n"; break;
            case L'\r': out += L"\\r"; break;
            case L'\t': out += L"\\t"; break;
            default: out += c;
        }
    }
    return out + L"\"";
}

// Reads a quoted text at pos; pos ends after the closing quote.
bool Unquote(const std::wstring& s, size_t& pos, std::wstring& out) {
    if (pos >= s.size() || s[pos] != L'"') return false;
    for (++pos; pos < s.size(); ++pos) {
        wchar_t c = s[pos];
        if (c == L'"') {
            ++pos;
            return true;
        }
        if (c == L'\\') {
            if (++pos >= s.size()) return false;
            switch (s[pos]) {
                case L'n': out += L'\n'; break;
                case L'r': out += L'\r'; break;
                case L't': out += L'\t'; break;
                case L'"': out += L'"'; break;
                case L'\\': out += L'\\'; break;
                default: return false;
            }
        } else {
            out += c;
        }
    }
    return false;
}

std::wstring DateForm(double value) {
    DateParts p = SplitDate(value);
    wchar_t buf[64];
    swprintf(buf, 64, L"%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour, p.minute, p.second);
    return buf;
}

bool ReadDateForm(const std::wstring& s, double& value) {
    int y, mo, d, h, mi, se;
    wchar_t tail;
    if (swscanf(s.c_str(), L"%d-%d-%d %d:%d:%d%lc", &y, &mo, &d, &h, &mi, &se, &tail) != 6) return false;
    if (mo < 1 || mo > 12 || d < 1 || d > 31 || h < 0 || h > 23 || mi < 0 || mi > 59 || se < 0 || se > 59)
        return false;
    double day = DateSerial(y, mo, d), time = TimeSerial(h, mi, se);
    value = day >= 0 ? day + time : day - time;
    return true;
}

bool ReadWhole(const std::wstring& s, long long& value) {
    wchar_t tail;
    return swscanf(s.c_str(), L"%lld%lc", &value, &tail) == 1;
}

bool ReadDouble(const std::wstring& s, double& value) {
    wchar_t tail;
    return swscanf(s.c_str(), L"%lf%lc", &value, &tail) == 1;
}

std::wstring VariantForm(const Variant& v) {
    switch (v.Type()) {
        case VarType::Empty: return L"empty:";
        case VarType::Null: return L"null:";
        case VarType::Integer: return L"int:" + std::to_wstring(static_cast<int>(v.Number()));
        case VarType::Long: return L"long:" + std::to_wstring(static_cast<long>(v.Number()));
        case VarType::Boolean: return v.Number() != 0 ? L"bool:True" : L"bool:False";
        case VarType::Double: return L"double:" + Number17(v.Number());
        case VarType::Date: return L"date:" + DateForm(v.Number());
        case VarType::Text: return L"text:" + Quote(v.TextValue());
    }
    return L"empty:";
}

std::wstring FontForm(const FontDesc& f) {
    wchar_t points[32];
    swprintf(points, 32, L"%.6g", f.points);
    return L"font:" + Quote(f.face) + L"," + points + L"," + (f.bold ? L"True" : L"False") + L"," +
           (f.italic ? L"True" : L"False");
}

bool ReadFontForm(const std::wstring& s, FontDesc& font) {
    size_t pos = 0;
    std::wstring face;
    if (!Unquote(s, pos, face)) return false;
    double points;
    wchar_t bold[8] = {}, italic[8] = {}, tail;
    if (swscanf(s.c_str() + pos, L",%lf,%7l[A-Za-z],%7l[A-Za-z]%lc", &points, bold, italic, &tail) != 3) return false;
    auto flag = [](const std::wstring& w, bool& out) {
        if (w == L"True") out = true;
        else if (w == L"False") out = false;
        else return false;
        return true;
    };
    font.face = face;
    font.points = points;
    return points > 0 && flag(bold, font.bold) && flag(italic, font.italic);
}

}  // namespace

bool SameFont(const FontDesc& a, const FontDesc& b) {
    return lstrcmpiW(a.face.c_str(), b.face.c_str()) == 0 && a.points == b.points && a.bold == b.bold &&
           a.italic == b.italic;
}

PropertyBag::PropertyBag(Regional regional) : regional_(std::move(regional)) {}

const PropertyBag::Stored* PropertyBag::Find(const std::wstring& key) const {
    for (const auto& e : entries_)
        if (e.first == key) return &e.second;
    return nullptr;
}

void PropertyBag::Put(const std::wstring& key, Stored value) {
    for (auto& e : entries_) {
        if (e.first == key) {
            e.second = std::move(value);
            return;
        }
    }
    entries_.emplace_back(key, std::move(value));
}

void PropertyBag::Remove(const std::wstring& key) {
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->first == key) {
            entries_.erase(it);
            return;
        }
    }
}

Variant PropertyBag::ReadProperty(const std::wstring& key, const Variant& defaultValue) const {
    const Stored* s = Find(key);
    if (!s) return defaultValue;
    if (const Variant* v = std::get_if<Variant>(s)) return *v;
    TypeMismatch();  // a font where a value is asked for
}

double PropertyBag::ReadDate(const std::wstring& key, double defaultValue) const {
    return CDate(ReadProperty(key, Variant::Date(defaultValue)), regional_);
}

bool PropertyBag::ReadBoolean(const std::wstring& key, bool defaultValue) const {
    return CBool(ReadProperty(key, Variant::Boolean(defaultValue)), regional_);
}

int32_t PropertyBag::ReadLong(const std::wstring& key, int32_t defaultValue) const {
    return CLng(ReadProperty(key, Variant::Long(defaultValue)), regional_);
}

std::wstring PropertyBag::ReadText(const std::wstring& key, const std::wstring& defaultValue) const {
    return CStr(ReadProperty(key, Variant::Text(defaultValue)), regional_);
}

FontDesc PropertyBag::ReadFont(const std::wstring& key, const FontDesc& defaultValue) const {
    const Stored* s = Find(key);
    if (!s) return defaultValue;
    if (const FontDesc* f = std::get_if<FontDesc>(s)) return *f;
    TypeMismatch();
}

void PropertyBag::WriteProperty(const std::wstring& key, const Variant& value, const Variant& defaultValue) {
    if (SameValue(value, defaultValue)) Remove(key);
    else Put(key, value);
}

void PropertyBag::WriteDate(const std::wstring& key, double value, double defaultValue) {
    WriteProperty(key, Variant::Date(value), Variant::Date(defaultValue));
}

void PropertyBag::WriteBoolean(const std::wstring& key, bool value, bool defaultValue) {
    WriteProperty(key, Variant::Boolean(value), Variant::Boolean(defaultValue));
}

void PropertyBag::WriteLong(const std::wstring& key, int32_t value, int32_t defaultValue) {
    WriteProperty(key, Variant::Long(value), Variant::Long(defaultValue));
}

void PropertyBag::WriteText(const std::wstring& key, const std::wstring& value, const std::wstring& defaultValue) {
    WriteProperty(key, Variant::Text(value), Variant::Text(defaultValue));
}

void PropertyBag::WriteFont(const std::wstring& key, const FontDesc& value, const FontDesc& defaultValue) {
    if (SameFont(value, defaultValue)) Remove(key);
    else Put(key, value);
}

bool PropertyBag::Contains(const std::wstring& key) const { return Find(key) != nullptr; }

std::vector<std::wstring> PropertyBag::Keys() const {
    std::vector<std::wstring> keys;
    for (const auto& e : entries_) keys.push_back(e.first);
    return keys;
}

std::wstring PropertyBag::ToText() const {
    std::wstring out;
    for (const auto& [key, value] : entries_) {
        out += key + L"=";
        if (const Variant* v = std::get_if<Variant>(&value)) out += VariantForm(*v);
        else out += FontForm(std::get<FontDesc>(value));
        out += L"\r\n";
    }
    return out;
}

PropertyBag PropertyBag::FromText(const std::wstring& text, Regional regional) {
    PropertyBag bag(std::move(regional));
    size_t start = 0;
    int lineNo = 0;
    while (start <= text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = Trim(text.substr(start, end - start));
        start = end + 1;
        ++lineNo;
        if (line.empty() || line[0] == L'\'') continue;

        auto fail = [&]() -> void {
            throw RuntimeError(kErrInvalidPropertyValue, ErrorDescription(kErrInvalidPropertyValue) + L" (línea " +
                                                             std::to_wstring(lineNo) + L": " + line + L")");
        };
        size_t eq = line.find(L'=');
        size_t colon = eq == std::wstring::npos ? eq : line.find(L':', eq);
        if (eq == std::wstring::npos || colon == std::wstring::npos) fail();
        std::wstring key = Trim(line.substr(0, eq));
        std::wstring kind = Trim(line.substr(eq + 1, colon - eq - 1));
        std::wstring value = line.substr(colon + 1);
        if (key.empty()) fail();

        long long whole = 0;
        double number = 0;
        if (kind == L"empty" && value.empty()) {
            bag.Put(key, Variant());
        } else if (kind == L"null" && value.empty()) {
            bag.Put(key, Variant::Null());
        } else if (kind == L"int" && ReadWhole(value, whole) && whole >= -32768 && whole <= 32767) {
            bag.Put(key, Variant::Integer(static_cast<int16_t>(whole)));
        } else if (kind == L"long" && ReadWhole(value, whole) && whole >= INT32_MIN && whole <= INT32_MAX) {
            bag.Put(key, Variant::Long(static_cast<int32_t>(whole)));
        } else if (kind == L"bool" && (value == L"True" || value == L"False")) {
            bag.Put(key, Variant::Boolean(value == L"True"));
        } else if (kind == L"double" && ReadDouble(value, number)) {
            bag.Put(key, Variant::Double(number));
        } else if (kind == L"date" && ReadDateForm(value, number)) {
            bag.Put(key, Variant::Date(number));
        } else if (kind == L"text") {
            size_t pos = 0;
            std::wstring t;
            if (!Unquote(value, pos, t) || pos != value.size()) fail();
            bag.Put(key, Variant::Text(t));
        } else if (kind == L"font") {
            FontDesc f;
            if (!ReadFontForm(value, f)) fail();
            bag.Put(key, f);
        } else {
            fail();
        }
    }
    return bag;
}

}  // namespace arc
