#include "Value.h"

#include "platform/runtime/NumberText.h"

#include <cmath>
#include <cstdio>

namespace arc::data {

double Value::AsDouble() const {
    switch (type_) {
        case Type::Integer: return static_cast<double>(i_);
        case Type::Real: return d_;
        case Type::Text: return Val(text_);
        default: return 0;
    }
}

std::int64_t Value::AsInteger() const {
    switch (type_) {
        case Type::Integer: return i_;
        case Type::Real: return static_cast<std::int64_t>(d_);
        case Type::Text: return static_cast<std::int64_t>(Val(text_));
        default: return 0;
    }
}

std::wstring Value::AsText() const {
    switch (type_) {
        case Type::Integer: return std::to_wstring(i_);
        case Type::Real: {
            char buf[64];
            std::snprintf(buf, sizeof buf, "%.15g", d_);
            std::string s = buf;
            if (s.find_first_of(".eEn") == std::string::npos) s += ".0";
            return std::wstring(s.begin(), s.end());
        }
        case Type::Text: return text_;
        case Type::Blob: return std::wstring(blob_.begin(), blob_.end());
        default: return L"";
    }
}

}  // namespace arc::data
