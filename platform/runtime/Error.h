#pragma once
// The one error type of the platform layers: a number and a description, like
// the language runtime's error object (380 "El valor de la propiedad no es
// válido" from the picker; from the data layer SQLite's code, with its message
// after a sentence that says what was being done).
#include <exception>
#include <new>
#include <string>

namespace arc {

inline std::wstring ErrorDescription(long number);

class RuntimeError : public std::exception {
public:
    RuntimeError(long number, std::wstring description)
        : number_(number), description_(std::move(description)) {}
    // The error with the runtime's own description of its number.
    explicit RuntimeError(long number) : RuntimeError(number, ErrorDescription(number)) {}
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
// The start stops rather than open an empty book in place of a ledger that
// a repair cut short left set aside.
constexpr long kErrLedgerSetAside = 1002;
// A change to a movement of a closed period (or into one).
constexpr long kErrClosedPeriod = 1003;
// A bank's statement file that cannot be read as one: its description names
// the line and what is wrong.
constexpr long kErrBadStatementFile = 1004;

// Such refusals are shown in their own words, without a number.
inline bool IsOwnRefusal(long number) {
    return number == kErrUnreadableAmount || number == kErrLedgerSetAside || number == kErrClosedPeriod ||
           number == kErrBadStatementFile;
}

}  // namespace arc

namespace arc {

// The runtime's description of one of its error numbers, in Spanish, as the
// runtime shows it to a Spanish user ("No coinciden los tipos" for 13);
// "Error definido por la aplicación o el objeto" for a number it has none for.
inline std::wstring ErrorDescription(long number) {
    switch (number) {
        case kErrInvalidProcedureCall: return L"Llamada a procedimiento o argumento no válidos";
        case kErrOverflow: return L"Desbordamiento";
        case kErrOutOfMemory: return L"Memoria insuficiente";
        case kErrTypeMismatch: return L"No coinciden los tipos";
        case kErrInternal: return L"Error interno";
        case kErrFileNotFound: return L"No se ha encontrado el archivo";
        case kErrPathFileAccess: return L"Error de acceso a la ruta o el archivo";
        case kErrPathNotFound: return L"No se ha encontrado la ruta de acceso";
        case kErrObjectNotSet: return L"Variable de tipo objeto o la variable de bloque With no está establecida";
        case kErrInvalidUseOfNull: return L"Uso no válido de Null";
        case kErrInvalidPropertyValue: return L"El valor de la propiedad no es válido";
        case kErrPrinter: return L"Error de impresora";
        case kErrItemNotFound:
            return L"No se encontró el elemento en la colección correspondiente al nombre o al ordinal solicitado.";
        case kErrConnectionClosed:
            return L"No se puede usar la conexión para realizar esta operación. Está cerrada o no es válida en este "
                   L"contexto.";
        case kErrNoCurrentRecord:
            return L"BOF o EOF es True, o el registro actual se eliminó; la operación solicitada requiere un registro "
                   L"actual.";
        case kErrDriver: return L"Error no especificado";
        default: return L"Error definido por la aplicación o el objeto";
    }
}

// The text the runtime shows for an error nobody handled: its number and its
// description.
inline std::wstring RuntimeErrorText(long number, const std::wstring& description) {
    return L"Se ha producido el error '" + std::to_wstring(number) + L"' en tiempo de ejecución:\r\n\r\n" + description;
}
inline std::wstring RuntimeErrorText(const RuntimeError& e) { return RuntimeErrorText(e.Number(), e.Description()); }

// The error being handled, with its own number and description: a
// RuntimeError as it came, a failed allocation as out of memory (7), any
// other exception as an internal error (51); the library's own text of such
// an exception is in English and stays out of the window.  Call it only
// inside a catch block.
inline RuntimeError CurrentError() {
    try {
        throw;
    } catch (const RuntimeError& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return RuntimeError(kErrOutOfMemory);
    } catch (...) {
        return RuntimeError(kErrInternal);
    }
}

}  // namespace arc
