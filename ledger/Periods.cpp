// "Cerrar período..." and "Reabrir período...": closing every movement
// dated on or before a chosen day, after a confirmation that states the fund
// at that day, and reopening the last closing with a reason.  Both are
// entries of the history, which is where the closing date lives.
#include "ClosedPeriod.h"
#include "Form1.h"
#include "History.h"
#include "PeriodDialog.h"

#include "platform/runtime/DateValue.h"
#include "platform/runtime/Format.h"
#include "platform/runtime/NumberText.h"

namespace arc {

void Form1::CERRAR_PERIODO() {
    const Regional& regional = host_.Regional();
    db_.CONEXION();
    const auto closed = History::ClosedThrough(db_);
    const SYSTEMTIME now = host_.Now();
    const double lastYearEnd = DateSerial(now.wYear - 1, 12, 31);
    std::wstring explanation = L"Se cerrarán todos los movimientos con fecha igual o anterior al día elegido: ya no "
                               L"se podrán registrar, modificar ni eliminar.";
    if (closed) explanation += L"\r\n" + ClosedPeriodText(*closed, regional) + L".";
    const auto day = PeriodDialog::AskDay(Hwnd(), host_, L"Cerrar período", explanation, lastYearEnd,
                                          options_.periodDialog);
    if (!day) return;
    const std::wstring iso = IsoDate(*day);
    db_.CONEXION();
    const auto closedNow = History::ClosedThrough(db_);
    if (closedNow && iso <= *closedNow) {
        host_.ShowMessage(Hwnd(), ClosedPeriodText(*closedNow, regional) + L": elija un día posterior.", MB_OK);
        return;
    }
    auto fund = db_.OpenRecordset(L"select total(INGEGR) AS FONDO, count(*) AS N FROM FINANZAS WHERE FECHA <= '" + iso +
                                  L"'");
    const double amount = fund->Field(L"FONDO").AsDouble();
    const long long rows = static_cast<long long>(fund->Field(L"N").AsDouble());
    const std::wstring question = L"¿Cerrar el período hasta el " + LongDate(*day, regional) + L" inclusive?\r\n\r\n"
                                  L"El fondo a esa fecha es " + FormatNumber(amount, L"#,##0.00", regional) + L" (" +
                                  FormatNumber(static_cast<double>(rows), L"#,##0", regional) +
                                  (rows == 1 ? L" movimiento" : L" movimientos") + L").";
    if (host_.ShowMessage(Hwnd(), question, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1) != IDYES) return;
    data::Transaction transaction(db_.Connection());
    History::RecordBookEvent(db_, operacion::kCierre, History::Moment(host_.Now()), closedNow.value_or(L""), iso,
                             L"FONDO=" + SqlNumber(amount) + L";MOVIMIENTOS=" + std::to_wstring(rows));
    transaction.Commit();
    host_.ShowMessage(Hwnd(), ClosedPeriodText(iso, regional) + L".", MB_OK);
}

void Form1::REABRIR_PERIODO() {
    const Regional& regional = host_.Regional();
    db_.CONEXION();
    const auto closed = History::ClosedThrough(db_);
    if (!closed) {
        host_.ShowMessage(Hwnd(), L"No hay ningún período cerrado.", MB_OK);
        return;
    }
    const auto before = History::ClosedBefore(db_);
    const std::wstring explanation = ClosedPeriodText(*closed, regional) + L". Al reabrirlo " +
                                     (before ? L"queda cerrado hasta el " + LongDay(*before, regional)
                                             : std::wstring(L"no queda ningún período cerrado")) +
                                     L".\r\nEscriba el motivo de la reapertura:";
    const auto reason =
        PeriodDialog::AskReason(Hwnd(), host_, L"Reabrir período", explanation, options_.periodDialog);
    if (!reason) return;
    db_.CONEXION();
    data::Transaction transaction(db_.Connection());
    if (History::ClosedThrough(db_) != closed) return;  // changed meanwhile by another program
    History::RecordBookEvent(db_, operacion::kReapertura, History::Moment(host_.Now()), *closed, before.value_or(L""),
                             *reason);
    transaction.Commit();
    host_.ShowMessage(Hwnd(), before ? ClosedPeriodText(*before, regional) + L"." : L"No queda ningún período cerrado.",
                      MB_OK);
}

}  // namespace arc
