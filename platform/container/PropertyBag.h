#pragma once
// The settings a control keeps with its host's design.  Each write names a
// default and stores the value only when it differs from it; each read gives
// the stored value converted to the type asked for, or the default when the
// key is absent.  The bag turns into text and back, so that a host's design
// can be kept as a resource or a file.
//
// Text form, one key a line: Key=kind:value, with the kinds empty, null,
// int, long, bool (True/False), double (point decimal), date
// (YYYY-MM-DD HH:MM:SS), text ("..." with \" \\ \n \r \t escapes) and
// font ("Face",points,bold,italic).  Blank lines and lines starting with '
// are skipped.
#include "Variant.h"
#include "platform/window/Gdi.h"

#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace arc {

bool SameFont(const FontDesc& a, const FontDesc& b);  // face without regard to case

class PropertyBag {
public:
    // Texts stored for typed keys are read with these regional settings.
    explicit PropertyBag(Regional regional);

    Variant ReadProperty(const std::wstring& key, const Variant& defaultValue) const;
    double ReadDate(const std::wstring& key, double defaultValue) const;
    bool ReadBoolean(const std::wstring& key, bool defaultValue) const;
    int32_t ReadLong(const std::wstring& key, int32_t defaultValue) const;
    std::wstring ReadText(const std::wstring& key, const std::wstring& defaultValue) const;
    FontDesc ReadFont(const std::wstring& key, const FontDesc& defaultValue) const;

    // A value equal to its default removes the key.
    void WriteProperty(const std::wstring& key, const Variant& value, const Variant& defaultValue);
    void WriteDate(const std::wstring& key, double value, double defaultValue);
    void WriteBoolean(const std::wstring& key, bool value, bool defaultValue);
    void WriteLong(const std::wstring& key, int32_t value, int32_t defaultValue);
    void WriteText(const std::wstring& key, const std::wstring& value, const std::wstring& defaultValue);
    void WriteFont(const std::wstring& key, const FontDesc& value, const FontDesc& defaultValue);

    bool Contains(const std::wstring& key) const;
    std::vector<std::wstring> Keys() const;  // in the order first written

    std::wstring ToText() const;
    // Raises RuntimeError 380 naming the line for a line it cannot read.
    static PropertyBag FromText(const std::wstring& text, Regional regional);

private:
    using Stored = std::variant<Variant, FontDesc>;
    const Stored* Find(const std::wstring& key) const;
    void Put(const std::wstring& key, Stored value);
    void Remove(const std::wstring& key);

    Regional regional_;
    std::vector<std::pair<std::wstring, Stored>> entries_;
};

}  // namespace arc
