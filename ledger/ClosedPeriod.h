#pragma once
// The closed period: movements dated on or before the closing date cannot be
// registered, modified, deleted or imported.  Each refusal names the date
// and is raised as the program's own refusal (kErrClosedPeriod).
#include "LedgerDatabase.h"

#include "platform/runtime/Regional.h"

#include <cstdint>
#include <optional>
#include <string>

namespace arc {

// The long date of a "YYYY-MM-DD" day, or the text as it is when it is no day.
std::wstring LongDay(const std::wstring& isoDay, const Regional& regional);

// "El período está cerrado hasta el <long date> inclusive"
std::wstring ClosedPeriodText(const std::wstring& closedThrough, const Regional& regional);

// Refuses a new movement (or one moved) to the day, when it falls in the
// closed period; `action` says what was tried ("registrar", "importar").
void RefuseIfClosed(LedgerDatabase& db, const Regional& regional, const std::wstring& isoDay, const wchar_t* action);

// Refuses a change to a stored movement of the closed period (verb:
// "modificar", "eliminar"), or moving it into the period (newIsoDay).
void RefuseChangeIfClosed(LedgerDatabase& db, const Regional& regional, std::int64_t id, const wchar_t* verb,
                          const std::optional<std::wstring>& newIsoDay = std::nullopt);

}  // namespace arc
