#include "HistoryWindow.h"

#include "History.h"

#include "platform/runtime/DateValue.h"
#include "platform/runtime/Format.h"

namespace arc {
namespace {

SIZE rememberedSize{};

// At most this many entries are listed, the newest.
constexpr int kListLimit = 5000;

}  // namespace

HistoryWindow::HistoryWindow(Host& host, LedgerDatabase& db) : ListWindow(host, rememberedSize), db_(db) {
    On(Id::Command1, Event::Click, [this] { ShowEntries(); });
    On(Id::Command2, Event::Click, [this] { Verify(); });
    On(Id::Command3, Event::Click, [this] { Finish(); });
    OnMessage(DM_GETDEFID, [](WPARAM, LPARAM) -> Reply {
        return MAKELRESULT(static_cast<int>(Id::Command1), DC_HASDEFID);
    });
}

bool HistoryWindow::Create(HWND owner) {
    using enum Id;
    using K = ControlKind;
    std::vector<ControlDesc> table = DateRangeEntries(Label1, DESDE, Label2, HASTA, 6);
    table.insert(table.end(), {
        {.id = Command1, .kind = K::Button, .place = {4200, 360, 1545, 495}, .text = L"&Mostrar", .tab = 2},
        GridEntry(DataGrid1, 3, {120, 960, 14760, 5400}),
        {.id = Label3, .place = {120, 6480, 11000, 495}, .text = L"", .tab = 8},
        {.id = Command2, .kind = K::Button, .place = {11640, 6480, 1545, 495}, .text = L"&Verificar", .tab = 4},
        {.id = Command3, .kind = K::Button, .place = {13335, 6480, 1545, 495}, .text = L"Cerrar", .tab = 5},
    });
    if (!CreateList(owner, L"ArcandoraHistorial", L"Historial de cambios", 15000, table,
                    {.gridTop = 960, .footText = Label3, .footButtons = {Command3, Command2}}))
        return false;
    // The whole history at first: from its first day to today.
    const double today = Today(host_.Now());
    db_.CONEXION();
    History::Ensure(db_, History::Moment(host_.Now()));
    auto first = db_.OpenRecordset(L"select min(substr(MOMENTO, 1, 10)) AS D FROM HISTORIAL");
    desde_->SetDateTime(ParseIsoDate(first->Field(L"D").AsText()).value_or(today));
    hasta_->SetDateTime(today);
    return true;
}

void HistoryWindow::ShowEntries() {
    const double desde = desde_->DateTime(), hasta = hasta_->DateTime();
    Hourglass wait(*this);
    db_.CONEXION();
    rows_ = db_.OpenRecordset(
        L"select NUM AS \"Nº\", MOMENTO AS \"Momento\", OPERACION AS \"Operación\", ID AS \"Movimiento\", "
        L"FECHA_ANTES AS \"Fecha antes\", DESCRIPCION_ANTES AS \"Descripción antes\", INGRESO_ANTES AS \"Ingreso antes\", "
        L"EGRESO_ANTES AS \"Egreso antes\", FECHA_DESPUES AS \"Fecha después\", DESCRIPCION_DESPUES AS "
        L"\"Descripción después\", INGRESO_DESPUES AS \"Ingreso después\", EGRESO_DESPUES AS \"Egreso después\", NOTA AS "
        L"\"Nota\" FROM HISTORIAL WHERE substr(MOMENTO, 1, 10) BETWEEN '" + IsoDate(desde) + L"' AND '" + IsoDate(hasta) +
        L"' ORDER BY NUM DESC LIMIT " + std::to_wstring(kListLimit));
    grid_.Bind(rows_);
    const int widths[] = {600, 1900, 1500, 1000, 1150, 2600, 1250, 1250, 1250, 2600, 1250, 1250, 3000};
    for (int c = 0; c < 13; ++c) grid_.SetColumnWidth(c, widths[c]);
    for (int c : {6, 7, 10, 11}) {
        grid_.SetNumberFormat(c, L"#,##0.00", host_.Regional());
        grid_.SetAlignment(c, Align::Right);
    }
    grid_.SetRowHeight(300);
    const History::Head head = History::HeadOf(db_);
    const Regional& regional = host_.Regional();
    std::wstring text = FormatNumber(static_cast<double>(rows_->RecordCount()), L"#,##0", regional) +
                        (rows_->RecordCount() == 1 ? L" cambio" : L" cambios") + L" en estas fechas; " +
                        FormatNumber(static_cast<double>(head.entries), L"#,##0", regional) +
                        L" en todo el historial. Huella de la cadena: " + head.hash;
    SetText(Id::Label3, text);
}

void HistoryWindow::Verify() {
    Hourglass wait(*this);
    db_.CONEXION();
    const History::Verdict verdict = History::Verify(db_);
    host_.ShowMessage(Hwnd(), verdict.sound ? verdict.text + L"." : verdict.text, MB_OK);
}

void HistoryWindow::Show(HWND owner, Host& host, LedgerDatabase& db, const Options& options) {
    HistoryWindow window(host, db);
    if (!window.Create(owner))
        throw RuntimeError(static_cast<long>(GetLastError()), L"No se pudo crear la ventana Historial de cambios.");
    window.RunList(owner, [&] { window.ShowEntries(); },
                   [&] {
                       if (options.onShown) options.onShown(window);
                   });
}

}  // namespace arc
