#pragma once
// The one error type of the platform layers: a number and a description, like
// the language runtime's error object (380 "Invalid property value" from the
// picker, SQLite's code and message from the data layer).
#include <exception>
#include <string>

namespace arc {

class RuntimeError : public std::exception {
public:
    RuntimeError(long number, std::wstring description)
        : number_(number), description_(std::move(description)) {}
    long Number() const noexcept { return number_; }
    const std::wstring& Description() const noexcept { return description_; }
    const char* what() const noexcept override { return "arc::RuntimeError"; }

private:
    long number_;
    std::wstring description_;
};

// Error numbers the runtime itself raises.
constexpr long kErrTypeMismatch = 13;
constexpr long kErrInvalidPropertyValue = 380;
constexpr long kErrInvalidProcedureCall = 5;
constexpr long kErrFileNotFound = 53;
constexpr long kErrPathNotFound = 76;

}  // namespace arc

namespace arc {

// The text the runtime shows for an error nobody handled: its number and its
// description.
inline std::wstring RuntimeErrorText(long number, const std::wstring& description) {
    return L"Se ha producido el error '" + std::to_wstring(number) + L"' en tiempo de ejecución:\r\n\r\n" + description;
}
inline std::wstring RuntimeErrorText(const RuntimeError& e) { return RuntimeErrorText(e.Number(), e.Description()); }

}  // namespace arc
