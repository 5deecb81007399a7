#include "SearchWindow.h"


#include "platform/runtime/DateValue.h"
#include "platform/runtime/Format.h"
#include "platform/runtime/NumberText.h"


namespace arc {
namespace {

// The window's size as the user left it, for the next time in this session.
SIZE rememberedSize{};

std::wstring Amount(double value, const Regional& regional) { return FormatNumber(value, L"#,##0.00", regional); }

// "Se encontraron 3 movimientos. Ingresos: 1.650,00; egresos: 40,50."
std::wstring SummaryText(const SearchTotals& t, size_t listed, const Regional& regional) {
    if (t.rows == 0) return L"No se encontró ningún movimiento.";
    std::wstring text = t.rows == 1 ? L"Se encontró 1 movimiento"
                                    : L"Se encontraron " + FormatNumber(static_cast<double>(t.rows), L"#,##0", regional) +
                                          L" movimientos";
    if (static_cast<long long>(listed) < t.rows)
        text += L"; se muestran los " + FormatNumber(static_cast<double>(listed), L"#,##0", regional) +
                L" más recientes";
    return text + L". Ingresos: " + Amount(t.income, regional) + L"; egresos: " + Amount(t.expense, regional) + L".";
}

}  // namespace

SearchWindow::SearchWindow(Host& host, LedgerDatabase& db) : ListWindow(host, rememberedSize), db_(db) {
    On(Id::Command1, Event::Click, [this] { Search(); });
    On(Id::Command2, Event::Click, [this] { ChooseCurrentRow(); });
    On(Id::Command3, Event::Click, [this] { Close(); });
    grid_.OnDoubleClick = [this] { ChooseCurrentRow(); };
    grid_.OnKeyPress = [this](wchar_t key) {
        if (key == L'\r') ChooseCurrentRow();
    };
    // Enter in a filter box searches.
    OnMessage(DM_GETDEFID, [](WPARAM, LPARAM) -> Reply {
        return MAKELRESULT(static_cast<int>(Id::Command1), DC_HASDEFID);
    });
}

bool SearchWindow::Create(HWND owner) {
    using enum Id;
    using K = ControlKind;
    const FontDesc box{L"Arial", 12};
    std::vector<ControlDesc> table = DateRangeEntries(Label1, DESDE, Label2, HASTA, 8);
    table.insert(table.end(), {
        {.id = Label3, .place = {4200, 120, 3600, 255}, .text = L"La descripción contiene", .tab = 10},
        {.id = Text1, .kind = K::TextBox, .place = {4200, 360, 3600, 495}, .font = box, .tab = 2},
        {.id = Label4, .place = {7920, 120, 1695, 255}, .text = L"Importe", .tab = 11},
        {.id = Text2, .kind = K::TextBox, .place = {7920, 360, 1695, 495}, .font = box, .align = Align::Right, .tab = 3},
        {.id = Command1, .kind = K::Button, .place = {9735, 360, 1545, 495}, .text = L"&Buscar", .tab = 4},
        GridEntry(DataGrid1, 5, {120, 960, 12760, 5400}),
        {.id = Label5, .place = {120, 6480, 9400, 495}, .text = L"", .tab = 12},
        {.id = Command2, .kind = K::Button, .place = {9640, 6480, 1545, 495}, .text = L"&Corregir", .tab = 6},
        {.id = Command3, .kind = K::Button, .place = {11335, 6480, 1545, 495}, .text = L"Cerrar", .tab = 7},
    });
    if (!CreateList(owner, L"ArcandoraBuscar", L"Buscar movimientos", 13000, table,
                    {.gridTop = 960, .footText = Label5, .footButtons = {Command3, Command2}}))
        return false;
    const double today = Today(host_.Now());
    desde_->SetDateTime(today - 30);
    hasta_->SetDateTime(today);
    return true;
}

std::optional<SearchFilter> SearchWindow::Filter() {
    SearchFilter filter{desde_->DateTime(), hasta_->DateTime(), Text(Id::Text1), std::nullopt};
    if (filter.desde > filter.hasta) {
        host_.ShowMessage(Hwnd(), L"La fecha Desde es posterior a la fecha Hasta: no hay nada que buscar.", MB_OK);
        SetFocus(desde_->Hwnd());
        return std::nullopt;
    }
    const std::wstring amount = Text(Id::Text2);
    if (amount.find_first_not_of(L' ') != std::wstring::npos) {
        const NumberReading reading = ReadNumber(amount, host_.Regional());
        if (reading.kind != NumberReading::Kind::Number) {
            host_.ShowMessage(Hwnd(), L"El importe ''" + amount + L"'' no se puede leer como un importe. Corríjalo o "
                                                                   L"déjelo vacío para buscar cualquier importe.",
                              MB_OK);
            SetFocus(Control(Id::Text2));
            return std::nullopt;
        }
        filter.amount = reading.value;
    }
    return filter;
}

void SearchWindow::Search() {
    const std::optional<SearchFilter> filter = Filter();
    if (!filter) return;
    Hourglass wait(*this);
    db_.CONEXION();
    SearchResult result = RunSearch(db_, *filter);
    rows_ = result.rows;
    totals_ = result.totals;
    grid_.Bind(rows_);
    ShowAsDayView(grid_, host_.Regional());
    if (rows_->RecordCount() > 0) grid_.SetRow(0);
    SetText(Id::Label5, SummaryText(totals_, rows_->RecordCount(), host_.Regional()));
}

void SearchWindow::ChooseCurrentRow() {
    const int row = grid_.Row();
    if (row < 0) return;
    chosen_ = RowOfGrid(grid_, row);
    Close();
}

void SearchWindow::Close() { Finish(); }

std::optional<MovementRow> SearchWindow::Choose(HWND owner, Host& host, LedgerDatabase& db, const Options& options) {
    SearchWindow window(host, db);
    if (!window.Create(owner))
        throw RuntimeError(static_cast<long>(GetLastError()), L"No se pudo crear la ventana Buscar movimientos.");
    window.RunList(
        owner,
        [&] {
            window.Search();
            SetFocus(window.Control(Id::Text1));
        },
        [&] {
            if (options.onShown) options.onShown(window);
        });
    return window.chosen_;
}

}  // namespace arc
