#include "controls/subclass/SubclassDiagnostics.h"

#include "controls/subclass/clsSubClass.h"

namespace arc {

namespace {
clsSubClass::DiagnosticHook& Hook() {
    static clsSubClass::DiagnosticHook hook;
    return hook;
}
}  // namespace

void clsSubClass::SetDiagnosticHook(DiagnosticHook hook) { Hook() = std::move(hook); }

namespace subclass {

void ReportDiagnostic(const wchar_t* routine, const std::wstring& message) {
    const auto& hook = Hook();
    if (!hook) return;
    try {
        hook(routine, message);
    } catch (...) {
        // A report never interrupts the operation that made it.
    }
}

}  // namespace subclass
}  // namespace arc
