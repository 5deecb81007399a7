#include "TreasuryReportLayout.h"

#include "ReportStyle.h"

namespace arc {
namespace {

using report::Align;
using report::ControlKind;
using report::ReportControl;
using report::SectionKind;
using report::TextStyle;

const TextStyle kArial12{L"Arial", 12};
const TextStyle kArial1125{L"Arial", 11.25};
const TextStyle kNarrow2625{L"Arial Narrow", 26.25};

// A detail field on an opaque white background.
ReportControl Field(const wchar_t* name, int left, int width, const wchar_t* field, const wchar_t* format,
                    Align align) {
    return ReportControl{.name = name, .kind = ControlKind::TextField, .left = left, .top = 0, .width = width,
                         .height = 240, .field = field, .format = format, .font = kArial12, .align = align,
                         .opaque = true};
}

ReportControl TotalLabel(const wchar_t* name, int left, int top, int width, const wchar_t* caption) {
    return ReportControl{.name = name, .kind = ControlKind::Label, .left = left, .top = top, .width = width,
                         .height = 240, .caption = caption, .font = kArial1125, .align = Align::Right,
                         .canGrow = true};
}

// A sum to the cent: its decimals print when it has any ("40,5"), a whole
// sum prints without them ("1.350").
ReportControl Total(const wchar_t* name, int top, const wchar_t* field, COLORREF colour) {
    return ReportControl{.name = name, .kind = ControlKind::Sum, .left = 9735, .top = top, .width = 1410,
                         .height = 240, .field = field, .format = L"#,###.##", .font = kArial1125, .fore = colour,
                         .align = Align::Right};
}

}  // namespace

report::ReportModel TreasuryReportLayout() {
    report::ReportModel m;
    m.width = 11175;
    m.font = TextStyle{L"Arial", 8.25};

    m.sections.push_back({L"Sección4", SectionKind::ReportHeader, 240, {
        ReportTitle(L"Etiqueta1", 11175),
    }});

    m.sections.push_back({L"Sección2", SectionKind::PageHeader, 300, {
        ReportHeading(L"Etiqueta2", 0, 1135, L"Fecha", Align::Left),
        ReportHeading(L"Etiqueta3", 1140, 6000, L"Descripción o Concepto ", Align::Left),
        ReportHeading(L"Etiqueta7", 7140, 1330, L"Ingreso", Align::Right),
        ReportHeading(L"Etiqueta4", 8475, 1335, L"Egreso", Align::Right),
        ReportHeading(L"Etiqueta5", 9810, 1350, L"Estado", Align::Right),
    }});

    ReportControl description = Field(L"Texto2", 1134, 5961, L"DESCRIPCION", L"", Align::Left);
    description.canGrow = true;
    ReportControl signedAmount = Field(L"Texto5", 4320, 1410, L"INGEGR", L"#,###.##", Align::Left);
    signedAmount.visible = false;
    m.sections.push_back({L"Sección1", SectionKind::Detail, 345, {
        Field(L"Texto1", 0, 1110, L"FECHA", L"d-MMM-yy", Align::Left),
        description,
        Field(L"Texto6", 7140, 1275, L"INGRESO", L"#,###.##", Align::Right),
        Field(L"Texto3", 8475, 1275, L"EGRESO", L"#,###.##", Align::Right),
        Field(L"Texto4", 9810, 1350, L"ESTADO", L"#,###.##", Align::Right),
        signedAmount,
        ReportControl{.name = L"Línea2", .kind = ControlKind::Line, .left = 0, .top = 330, .width = 11175,
                      .height = 0},
    }});

    m.sections.push_back({L"Sección3", SectionKind::PageFooter, 0, {}});

    m.sections.push_back({L"Sección5", SectionKind::ReportFooter, 1230, {
        ReportControl{.name = L"Forma1", .kind = ControlKind::Rectangle, .left = 0, .top = 135, .width = 11175,
                      .height = 1095},
        ReportControl{.name = L"Etiqueta9", .kind = ControlKind::Label, .left = 2775, .top = 315, .width = 2265,
                      .height = 780, .caption = L"Resumen", .font = kNarrow2625},
        TotalLabel(L"Etiqueta6", 7605, 210, 2070, L"Total Ingreso:"),
        Total(L"Función2", 210, L"INGRESO", RGB(0, 0, 192)),
        TotalLabel(L"Etiqueta8", 7590, 525, 2085, L"Total Egreso:"),
        Total(L"Función1", 525, L"EGRESO", RGB(192, 0, 0)),
        TotalLabel(L"Etiqueta11", 7605, 885, 2070, L"Total Saldo:"),
        Total(L"Función3", 885, L"INGEGR", RGB(0, 64, 0)),
    }});

    // The spreadsheet copy: the values as stored, and the three sums on the
    // totals line.  The balance of the range ("Total Saldo:") stands under
    // Estado, so the line says what it is: income less expense of the range,
    // not the fund at its end.
    using Column = report::ExportColumn;
    m.exportColumns = {
        {L"Fecha", L"FECHA", Column::Kind::Date, L"", L""},
        {L"Descripción", L"DESCRIPCION", Column::Kind::Text, L"", kCsvTotalsLabel},
        {L"Ingreso", L"INGRESO", Column::Kind::Number, L"INGRESO", L""},
        {L"Egreso", L"EGRESO", Column::Kind::Number, L"EGRESO", L""},
        {L"Estado", L"ESTADO", Column::Kind::Number, L"INGEGR", L""},
    };
    return m;
}

}  // namespace arc
