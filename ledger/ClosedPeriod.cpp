#include "ClosedPeriod.h"

#include "History.h"

#include "platform/runtime/DateValue.h"
#include "platform/runtime/Format.h"

namespace arc {
namespace {

std::wstring Short(const std::wstring& isoDay, const Regional& regional) {
    const auto day = ParseIsoDate(isoDay);
    return day ? ShortDate(*day, regional) : isoDay;
}

const wchar_t kHowToReopen[] = L" Si hay que corregirlo, reabra antes el período (Movimientos > Reabrir período...).";

}  // namespace

std::wstring LongDay(const std::wstring& isoDay, const Regional& regional) {
    const auto day = ParseIsoDate(isoDay);
    return day ? LongDate(*day, regional) : isoDay;
}

std::wstring ClosedPeriodText(const std::wstring& closedThrough, const Regional& regional) {
    return L"El período está cerrado hasta el " + LongDay(closedThrough, regional) + L" inclusive";
}

void RefuseIfClosed(LedgerDatabase& db, const Regional& regional, const std::wstring& isoDay, const wchar_t* action) {
    const auto closed = History::ClosedThrough(db);
    if (!closed || isoDay > *closed) return;
    throw RuntimeError(kErrClosedPeriod, ClosedPeriodText(*closed, regional) + L": no se puede " + action +
                                             L" un movimiento con fecha " + Short(isoDay, regional) + L"." +
                                             kHowToReopen);
}

void RefuseChangeIfClosed(LedgerDatabase& db, const Regional& regional, std::int64_t id, const wchar_t* verb,
                          const std::optional<std::wstring>& newIsoDay) {
    const auto closed = History::ClosedThrough(db);
    if (!closed) return;
    auto row = db.OpenRecordset(L"select FECHA FROM FINANZAS WHERE ID = " + std::to_wstring(id));
    if (!row->Eof()) {
        const std::wstring day = row->Field(L"FECHA").AsText();
        if (day <= *closed)
            throw RuntimeError(kErrClosedPeriod, ClosedPeriodText(*closed, regional) + L": este movimiento, del " +
                                                     Short(day, regional) + L", no se puede " + verb + L"." +
                                                     kHowToReopen);
    }
    if (newIsoDay && *newIsoDay <= *closed)
        throw RuntimeError(kErrClosedPeriod, ClosedPeriodText(*closed, regional) + L": un movimiento no se puede "
                                                 L"llevar al " + Short(*newIsoDay, regional) + L", dentro del período "
                                                 L"cerrado." + kHowToReopen);
}

}  // namespace arc
