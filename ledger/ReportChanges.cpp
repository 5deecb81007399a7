#include "ReportChanges.h"

#include "History.h"
#include "MovementText.h"

#include "platform/runtime/DateValue.h"

namespace arc {
namespace {

using report::ControlKind;
using report::ReportControl;
using report::ReportSection;
using report::SectionKind;
using report::TextStyle;

const TextStyle kHeading{L"Arial", 12, true};
const TextStyle kText{L"Arial", 9};
constexpr int kWidth = 11175;

ReportControl Text(const wchar_t* name, int left, int top, int width, const std::wstring& text,
                   const TextStyle& font = kText) {
    return ReportControl{.name = name, .kind = ControlKind::Label, .left = left, .top = top, .width = width,
                         .height = 240, .caption = text, .font = font, .canGrow = true};
}

}  // namespace

std::vector<ReportSection> ChangesInPeriod(LedgerDatabase& db, double desde, double hasta, const std::wstring& moment,
                                           const Regional& regional) {
    std::vector<ReportSection> sections;
    if (!History::HeadOf(db).entries) return sections;
    const std::wstring from = IsoDate(desde), to = IsoDate(hasta);
    auto rows = db.OpenRecordset(
        L"select NUM, MOMENTO, OPERACION, ID, FECHA_ANTES, DESCRIPCION_ANTES, INGRESO_ANTES, EGRESO_ANTES, "
        L"FECHA_DESPUES, DESCRIPCION_DESPUES, INGRESO_DESPUES, EGRESO_DESPUES FROM HISTORIAL WHERE OPERACION IN "
        L"('MODIFICACION', 'BAJA') AND (FECHA_ANTES BETWEEN '" + from + L"' AND '" + to + L"' OR FECHA_DESPUES BETWEEN '" +
        from + L"' AND '" + to + L"') ORDER BY NUM");
    if (rows->RecordCount() == 0) return sections;

    sections.push_back({L"Cambios", SectionKind::ReportFooter, 600,
                        {Text(L"CambiosTítulo", 0, 240, kWidth, L"Cambios en el período", kHeading)}});
    for (rows->MoveFirst(); !rows->Eof(); rows->MoveNext()) {
        const auto value = [&](const wchar_t* field) { return rows->Field(field); };
        const std::wstring before = NamedMovement(value(L"FECHA_ANTES").AsText(), value(L"DESCRIPCION_ANTES").AsText(),
                                                  value(L"INGRESO_ANTES").AsDouble(), value(L"EGRESO_ANTES").AsDouble(),
                                                  regional);
        const std::wstring after =
            value(L"OPERACION").AsText() == L"BAJA"
                ? L"eliminado"
                : NamedMovement(value(L"FECHA_DESPUES").AsText(), value(L"DESCRIPCION_DESPUES").AsText(),
                                value(L"INGRESO_DESPUES").AsDouble(), value(L"EGRESO_DESPUES").AsDouble(), regional);
        sections.push_back(
            {L"Cambio", SectionKind::ReportFooter, 300,
             {Text(L"CambioCuándo", 0, 30, 2700,
                   value(L"MOMENTO").AsText() + L"\r\n" + value(L"OPERACION").AsText() + L", movimiento " +
                       value(L"ID").AsText()),
              Text(L"CambioQué", 2760, 30, kWidth - 2760, L"Antes: " + before + L"\r\nDespués: " + after)}});
    }
    const History::Head head = History::HeadOf(db);
    sections.push_back({L"Huella", SectionKind::ReportFooter, 600,
                        {Text(L"HuellaTexto", 0, 240, kWidth,
                              L"Huella del historial (" + std::to_wstring(head.entries) + L" entradas), leída el " +
                                  moment + L": " + head.hash)}});
    return sections;
}

}  // namespace arc
