#pragma once
// The engine's diagnostic hook: every failure is reported here with the name
// of the reporting routine and a message text.  Unless a hook is set, the
// report goes nowhere.
#include <string>

namespace arc::subclass {

void ReportDiagnostic(const wchar_t* routine, const std::wstring& message);

}  // namespace arc::subclass
