#pragma once
// The one error type of the platform layers: a number and a description, like
// the language runtime's error object (380 "Invalid property value" from the
// picker, SQLite's code and message from the data layer).
#include <exception>
#include <new>
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
constexpr long kErrOutOfMemory = 7;
constexpr long kErrInternal = 51;
constexpr long kErrOverflow = 6;
constexpr long kErrPathFileAccess = 75;
constexpr long kErrObjectNotSet = 91;
constexpr long kErrInvalidUseOfNull = 94;
constexpr long kErrPrinter = 482;

// Error numbers of the data layer.
constexpr long kErrItemNotFound = 3265;      // no field of that name or position
constexpr long kErrConnectionClosed = 3709;  // the connection cannot be used
constexpr long kErrNoCurrentRecord = 3021;   // before the first or after the last record
constexpr long kErrDriver = -2147467259;     // 0x80004005, the data layer's generic failure

// Error numbers of the programs' own refusals.
// An amount that gives no value, half typed ("-") or with grouping symbols
// where no grouping can stand ("1.000.5" in Spain): it is refused rather than
// read as some other amount.
constexpr long kErrUnreadableAmount = 1001;
// A change to a movement of a closed period (or into one).
constexpr long kErrClosedPeriod = 1002;
// A bank's statement file that cannot be read as one: its description names
// the line and what is wrong.
constexpr long kErrBadStatementFile = 1003;

// Whether an error is a refusal of the program's own, shown in its plain words.
inline bool IsOwnRefusal(long number) {
    return number == kErrUnreadableAmount || number == kErrClosedPeriod || number == kErrBadStatementFile;
}

}  // namespace arc

namespace arc {

// The text the runtime shows for an error nobody handled: its number and its
// description.
inline std::wstring RuntimeErrorText(long number, const std::wstring& description) {
    return L"Se ha producido el error '" + std::to_wstring(number) + L"' en tiempo de ejecución:\r\n\r\n" + description;
}
inline std::wstring RuntimeErrorText(const RuntimeError& e) { return RuntimeErrorText(e.Number(), e.Description()); }

// The error being handled, with its own number and description: a
// RuntimeError as it came, a failed allocation as out of memory (7), any
// other exception as an internal error (51) with its own text.  Call it only
// inside a catch block.
inline RuntimeError CurrentError() {
    try {
        throw;
    } catch (const RuntimeError& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return RuntimeError(kErrOutOfMemory, L"Out of memory");
    } catch (const std::exception& e) {
        std::wstring what;
        for (const char* c = e.what(); *c; ++c) what += static_cast<wchar_t>(static_cast<unsigned char>(*c));
        return RuntimeError(kErrInternal, L"Internal error (" + what + L")");
    } catch (...) {
        return RuntimeError(kErrInternal, L"Internal error");
    }
}

}  // namespace arc
