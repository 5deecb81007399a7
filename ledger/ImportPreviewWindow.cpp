#include "ImportPreviewWindow.h"

#include "StatementStore.h"

#include "platform/runtime/Format.h"

#include <algorithm>

namespace arc {
namespace {

constexpr int kMargin = 120;
constexpr int kWidth = 12600, kHeight = 8400;      // the client area at first, in twips
constexpr int kMinWidth = 10800, kMinHeight = 6000;
constexpr int kFootHeight = 1080;                  // summary, help and buttons under the list
constexpr COLORREF kRed = RGB(192, 0, 0);

const wchar_t kSeparators[] = {L';', L',', L'\t', L'|'};
const wchar_t* const kSeparatorNames[] = {L"Punto y coma (;)", L"Coma (,)", L"Tabulador", L"Barra vertical (|)"};
const wchar_t kDecimals[] = {L',', L'.'};
const wchar_t* const kDecimalNames[] = {L"Coma (1.234,56)", L"Punto (1,234.56)"};
const DateOrder kOrders[] = {DateOrder::DayMonthYear, DateOrder::MonthDayYear, DateOrder::YearMonthDay};
const wchar_t* const kOrderNames[] = {L"Día/mes/año", L"Mes/día/año", L"Año-mes-día"};

template <typename T, size_t N>
int IndexOf(const T (&values)[N], T value) {
    for (size_t i = 0; i < N; ++i)
        if (values[i] == value) return static_cast<int>(i);
    return -1;
}

void FillBox(HWND box, const std::vector<std::wstring>& items, int chosen) {
    SendMessageW(box, CB_RESETCONTENT, 0, 0);
    for (const auto& item : items) SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
}

std::wstring Count(size_t n, const Regional& regional) {
    return FormatNumber(static_cast<double>(n), L"#,##0", regional);
}

template <size_t N>
std::vector<std::wstring> Names(const wchar_t* const (&names)[N]) {
    return std::vector<std::wstring>(std::begin(names), std::end(names));
}

}  // namespace

ImportPreviewWindow::ImportPreviewWindow(Host& host, const StatementSource& source, const Planner& planner)
    : ModalForm(host), source_(source), planner_(planner) {}

std::vector<ControlDesc> ImportPreviewWindow::Layout() {
    using K = ControlKind;
    std::vector<ControlDesc> table = {
        {.id = kFile, .place = {kMargin, 120, kWidth - 2 * kMargin, 255}, .text = L"Archivo: " + source_.fileName,
         .tab = 100},
    };
    int tab = 0, top = 450;
    auto choice = [&](Id label, Id box, const wchar_t* caption, int left, int y, int boxWidth) {
        table.push_back({.id = label, .place = {left, y + 30, 1100, 255}, .text = caption, .tab = 100});
        table.push_back({.id = box, .kind = K::DropDownList, .place = {left + 1120, y, boxWidth, 3000}, .tab = tab++});
    };
    if (source_.IsCsv()) {
        const Id rows[3][6] = {
            {kSeparatorLabel, kSeparatorBox, kDecimalLabel, kDecimalBox, kOrderLabel, kOrderBox},
            {kDateLabel, kDateBox, kConceptLabel, kConceptBox, kAmountLabel, kAmountBox},
            {kIncomeLabel, kIncomeBox, kExpenseLabel, kExpenseBox, kBalanceLabel, kBalanceBox},
        };
        const wchar_t* captions[3][3] = {{L"Separador:", L"Decimales:", L"Fechas:"},
                                         {L"Fecha:", L"Concepto:", L"Importe:"},
                                         {L"Ingresos:", L"Gastos:", L"Saldo:"}};
        for (int r = 0; r < 3; ++r, top += 360)
            for (int c = 0; c < 3; ++c) choice(rows[r][2 * c], rows[r][2 * c + 1], captions[r][c], kMargin + c * 4000, top, 2700);
    } else {
        choice(kAccountLabel, kAccountBox, L"Cuenta:", kMargin, top, 7000);
        top += 360;
    }
    top += 60;
    for (Id info : {kAccountText, kPeriodText, kBalancesText}) {
        table.push_back({.id = info, .place = {kMargin, top, kWidth - 2 * kMargin, 255}, .tab = 100});
        top += 300;
    }
    table.push_back({.id = kCheckText, .place = {kMargin, top, kWidth - 2 * kMargin, 480}, .tab = 100});
    top += 540;
    const auto makeList = [this](HWND parent, const Place& twips, const TwipsScale& scale) {
        return list_.Create(parent, twips, scale, {.checkBoxes = true, .editFirstColumn = true});
    };
    table.push_back({.id = kList, .kind = K::Custom, .place = {kMargin, top, kWidth - 2 * kMargin, kHeight - top - kFootHeight},
                     .tab = tab++, .make = makeList, .wrapper = &list_});
    table.push_back({.id = kSummary, .place = {kMargin, 0, 8000, 255}, .tab = 100});
    table.push_back({.id = kHelp, .place = {kMargin, 0, 8000, 255},
                     .text = L"Espacio marca o desmarca un movimiento; F2 cambia su descripción.", .tab = 100});
    table.push_back({.id = kImport, .kind = K::Button, .place = {0, 0, 1200, 420}, .text = L"Importar", .tab = tab++});
    table.push_back({.id = kCancel, .kind = K::Button, .place = {0, 0, 1200, 420}, .text = L"Cancelar", .tab = tab++});
    return table;
}

bool ImportPreviewWindow::Create(HWND owner) {
    const FormDesc desc{.className = L"ArcImportPreview", .caption = kCaption, .width = kWidth, .height = kHeight,
                        .icon = 1, .style = (WS_OVERLAPPEDWINDOW & ~WS_MINIMIZEBOX) | WS_CLIPCHILDREN,
                        .placement = Placement::CentredOnScreen};
    if (!Form::Create(desc, Layout(), owner)) return false;
    SendMessageW(Control(kImport), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    list_.SetColumns({{L"Descripción", 5200}, {L"Fecha", 1300}, {L"Ingreso", 1500, Align::Right},
                      {L"Egreso", 1500, Align::Right}, {L"Situación", 1700}, {L"Línea", 700, Align::Right}});
    list_.CellTextOf = [this](size_t row, int column) { return Cell(row, column); };
    list_.OnCheck = [this](size_t row, bool checked) { CheckChanged(row, checked); };
    list_.OnEdited = [this](size_t row, const std::wstring& text) { return DescriptionEdited(row, text); };
    Connect();
    if (source_.IsCsv()) {
        FillBox(Control(kSeparatorBox), Names(kSeparatorNames), IndexOf(kSeparators, source_.csvSeparator));
        SplitTable();
    } else {
        std::vector<std::wstring> accounts;
        for (const auto& a : source_.accounts) accounts.push_back(a.bank + L" " + a.branch + L" " + a.account +
                                                                  (a.holder.empty() ? L"" : L" (" + a.holder + L")"));
        FillBox(Control(kAccountBox), accounts, 0);
        ChooseAccount(0);
    }
    Arrange();
    return true;
}

void ImportPreviewWindow::Connect() {
    On(kImport, Event::Click, [this] { Import(); });
    On(kCancel, Event::Click, [this] { Cancel(); });
    OnMessage(WM_CLOSE, [this] { Cancel(); });
    OnMessage(WM_SIZE, [this] { Arrange(); });
    OnMessage(WM_GETMINMAXINFO, [this](WPARAM, LPARAM lParam) -> Reply {
        auto& info = *reinterpret_cast<MINMAXINFO*>(lParam);
        info.ptMinTrackSize = {Scale().X(kMinWidth), Scale().Y(kMinHeight)};
        return 0;
    });
    On(kAccountBox, Event::SelectionChange, [this] { ChooseAccount(static_cast<size_t>(std::max(0, Chosen(kAccountBox)))); });
    On(kSeparatorBox, Event::SelectionChange, [this] { SplitTable(); });
    for (Id box : {kDateBox, kConceptBox, kAmountBox, kIncomeBox, kExpenseBox, kBalanceBox})
        On(box, Event::SelectionChange, [this] { ColumnsChanged(); });
    for (Id box : {kDecimalBox, kOrderBox})
        On(box, Event::SelectionChange, [this] {
            const int decimal = Chosen(kDecimalBox), order = Chosen(kOrderBox);
            layout_.decimal = decimal >= 0 ? kDecimals[decimal] : 0;
            layout_.order = order >= 0 ? kOrders[order] : DateOrder::Undecided;
            ReadCsv();
        });
}

// The list takes what the window's size leaves; the foot keeps to the bottom.
void ImportPreviewWindow::Arrange() {
    RECT client{};
    GetClientRect(Hwnd(), &client);
    const TwipsScale& s = Scale();
    const int margin = s.X(kMargin), width = client.right - 2 * margin;
    RECT list{};
    GetWindowRect(list_.Hwnd(), &list);
    MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&list), 2);
    const int foot = client.bottom - s.Y(kFootHeight);
    MoveWindow(list_.Hwnd(), margin, list.top, width, std::max<int>(s.Y(600), foot - list.top), TRUE);
    for (Id label : {kFile, kAccountText, kPeriodText, kBalancesText, kCheckText}) {
        RECT r{};
        GetWindowRect(Control(label), &r);
        MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&r), 2);
        MoveWindow(Control(label), margin, r.top, width, r.bottom - r.top, TRUE);
    }
    const int buttons = s.X(2 * 1200 + 120);
    MoveWindow(Control(kSummary), margin, foot + s.Y(120), width - buttons - margin, s.Y(255), TRUE);
    MoveWindow(Control(kHelp), margin, foot + s.Y(480), width - buttons - margin, s.Y(255), TRUE);
    MoveWindow(Control(kImport), client.right - margin - buttons, foot + s.Y(300), s.X(1200), s.Y(420), TRUE);
    MoveWindow(Control(kCancel), client.right - margin - s.X(1200), foot + s.Y(300), s.X(1200), s.Y(420), TRUE);
}

int ImportPreviewWindow::Chosen(Id box) const {
    const LRESULT item = SendMessageW(Control(box), CB_GETCURSEL, 0, 0);
    return item == CB_ERR ? -1 : static_cast<int>(item);
}

void ImportPreviewWindow::Choose(Id box, int item) {
    SendMessageW(Control(box), CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    SendMessageW(Hwnd(), WM_COMMAND, MAKEWPARAM(box, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Control(box)));
}

void ImportPreviewWindow::ChooseAccount(size_t index) {
    plan_ = planner_(source_.accounts.at(index));
    SetError(L"");
    ShowPlan();
}

void ImportPreviewWindow::SplitTable() {
    const int item = Chosen(kSeparatorBox);
    const wchar_t separator = item >= 0 ? kSeparators[item] : L';';
    std::wstring error;
    try {
        table_ = SplitCsv(source_.csvText, separator);
    } catch (const StatementError& e) {
        table_ = CsvTable{};
        error = e.Description();
    }
    layout_ = GuessLayout(table_);
    const std::pair<Id, int> columns[] = {{kDateBox, layout_.date},       {kConceptBox, layout_.wording},
                                          {kAmountBox, layout_.amount},   {kIncomeBox, layout_.income},
                                          {kExpenseBox, layout_.expense}, {kBalanceBox, layout_.balance}};
    for (const auto& [box, column] : columns) FillColumnBox(box, column);
    FillBox(Control(kDecimalBox), Names(kDecimalNames), IndexOf(kDecimals, layout_.decimal));
    FillBox(Control(kOrderBox), Names(kOrderNames), IndexOf(kOrders, layout_.order));
    if (error.empty()) {
        ReadCsv();
    } else {
        plan_.reset();
        SetError(error);
        ShowPlan();
    }
}

void ImportPreviewWindow::FillColumnBox(Id box, int chosen) {
    std::vector<std::wstring> items{L"(ninguna)"};
    items.insert(items.end(), table_.names.begin(), table_.names.end());
    FillBox(Control(box), items, chosen + 1);
}

// A column chosen again: the decimal mark, or the date order, is found
// afresh from what the new column holds, never kept from the old one.
void ImportPreviewWindow::ColumnsChanged() {
    auto column = [this](Id box) { return Chosen(box) - 1; };
    const CsvLayout before = layout_;
    layout_.date = column(kDateBox);
    layout_.wording = column(kConceptBox);
    layout_.amount = column(kAmountBox);
    layout_.income = column(kIncomeBox);
    layout_.expense = column(kExpenseBox);
    layout_.balance = column(kBalanceBox);
    if (layout_.amount != before.amount || layout_.income != before.income || layout_.expense != before.expense ||
        layout_.balance != before.balance) {
        layout_.decimal = DetectDecimal(table_, layout_);
        SendMessageW(Control(kDecimalBox), CB_SETCURSEL, static_cast<WPARAM>(IndexOf(kDecimals, layout_.decimal)), 0);
    }
    if (layout_.date != before.date) {
        layout_.order = DetectDateOrder(table_, layout_.date);
        SendMessageW(Control(kOrderBox), CB_SETCURSEL, static_cast<WPARAM>(IndexOf(kOrders, layout_.order)), 0);
    }
    ReadCsv();
}

void ImportPreviewWindow::ReadCsv() {
    try {
        plan_ = planner_(ReadCsvStatement(table_, layout_, host_.Regional()));
        SetError(L"");
    } catch (const StatementError& e) {
        plan_.reset();
        SetError(e.Description());
    }
    ShowPlan();
}

void ImportPreviewWindow::SetError(const std::wstring& text) {
    SetForeColour(kCheckText, text.empty() ? kNoColour : kRed);
    if (!text.empty()) SetText(kCheckText, text);
}

void ImportPreviewWindow::ShowPlan() {
    const Regional& regional = host_.Regional();
    if (!plan_) {
        for (Id info : {kAccountText, kPeriodText, kBalancesText}) SetText(info, L"");
        list_.SetRows(0);
    } else {
        const AccountStatement& s = plan_->statement;
        SetText(kAccountText, s.format == StatementFormat::Norma43
                                  ? L"Cuenta: " + AccountText(s) + (s.currency == L"978" ? L"" : L"; divisa " + s.currency)
                                  : L"Cuenta: el archivo CSV no la indica.");
        SetText(kPeriodText, L"Período: del " + ShortDate(s.firstDate, regional) + L" al " +
                                 ShortDate(s.lastDate, regional) + L".");
        const std::wstring movements = L"abonos (" + Count(s.CreditCount(), regional) + L"): " +
                                       CentsText(s.Credits(), regional) + L"; cargos (" +
                                       Count(s.DebitCount(), regional) + L"): " + CentsText(s.Debits(), regional);
        SetText(kBalancesText, s.initialCents ? L"Saldo inicial: " + CentsText(*s.initialCents, regional) + L"; " +
                                                    movements + L"; saldo final: " + CentsText(*s.finalCents, regional) + L"."
                                              : L"El archivo no trae los saldos del banco; " + movements + L".");
        SetText(kCheckText,
                s.format == StatementFormat::Norma43
                    ? L"El archivo es coherente: sus movimientos suman los totales del banco, y el saldo inicial más "
                      L"los abonos menos los cargos da el saldo final."
                : s.initialCents ? L"El archivo es coherente: el saldo de cada línea es el anterior más su importe."
                                 : L"Sin columna de saldo no hay saldos del banco con que comprobar el archivo.");
        list_.SetRows(plan_->rows.size(), [this](size_t i) { return plan_->rows[i].ticked; });
        if (!plan_->rows.empty()) list_.SetCurrentRow(0);
    }
    EnableWindow(Control(kImport), plan_.has_value());
    ShowSummary();
}

void ImportPreviewWindow::ShowSummary() {
    if (!plan_) {
        SetText(kSummary, L"No se puede importar mientras el archivo no se lea entero.");
        return;
    }
    size_t ticked = 0, inBook = 0, closed = 0;
    for (const auto& row : plan_->rows) {
        ticked += row.ticked;
        inBook += row.inBook != 0;
        closed += row.closed;
    }
    const Regional& regional = host_.Regional();
    std::wstring text = L"Se importarán " + Count(ticked, regional) + L" de " + Count(plan_->rows.size(), regional) +
                        L" movimientos.";
    if (inBook) text += L" " + Count(inBook, regional) + (inBook == 1 ? L" ya está en el libro." : L" ya están en el libro.");
    if (closed)
        text += L" " + Count(closed, regional) + (closed == 1 ? L" es del período cerrado" : L" son del período cerrado") +
                L" hasta el " + ShortDate(*plan_->closedThrough, regional) + L".";
    SetText(kSummary, text);
}

std::wstring ImportPreviewWindow::Cell(size_t row, int column) const {
    if (!plan_ || row >= plan_->rows.size()) return L"";
    const ImportCandidate& c = plan_->rows[row];
    const BankMovement& m = plan_->statement.movements[row];
    const Regional& regional = host_.Regional();
    switch (column) {
        case kDescriptionColumn: return c.description;
        case kDateColumn: return ShortDate(m.date, regional);
        case kIncomeColumn: return m.cents >= 0 ? CentsText(m.cents, regional) : L"";
        case kExpenseColumn: return m.cents < 0 ? CentsText(-m.cents, regional) : L"";
        case kStateColumn: return c.closed ? L"Período cerrado" : c.inBook ? L"Ya en el libro" : L"Nuevo";
        case kLineColumn: return std::to_wstring(m.line);
    }
    return L"";
}

void ImportPreviewWindow::CheckChanged(size_t row, bool checked) {
    if (!plan_ || row >= plan_->rows.size()) return;
    ImportCandidate& c = plan_->rows[row];
    if (checked && c.closed) {
        // Cleared again first, so that the message never stands beside a ticked row.
        list_.SetChecked(row, false);
        host_.ShowMessage(Hwnd(),
                          L"El movimiento del " + ShortDate(plan_->statement.movements[row].date, host_.Regional()) +
                              L" es del período cerrado hasta el " + ShortDate(*plan_->closedThrough, host_.Regional()) +
                              L": no se puede importar.",
                          MB_OK);
        return;
    }
    c.ticked = checked;
    ShowSummary();
}

bool ImportPreviewWindow::DescriptionEdited(size_t row, const std::wstring& text) {
    if (!plan_ || row >= plan_->rows.size() || text.find_first_not_of(L" \t") == std::wstring::npos) return false;
    plan_->rows[row].description = text;
    return true;
}

void ImportPreviewWindow::Import() {
    if (!plan_) return;
    imported_ = true;
    EndModal();
}

std::optional<ImportPlan> ImportPreviewWindow::Show(HWND owner, Host& host, const StatementSource& source,
                                                    const Planner& planner,
                                                    const std::function<void(ImportPreviewWindow&)>& shown) {
    ImportPreviewWindow window(host, source, planner);
    if (!window.Create(owner))
        throw RuntimeError(static_cast<long>(GetLastError()), L"La ventana de importación no se pudo crear.");
    window.RunModal(owner, [&] {
        SetFocus(window.list_.Hwnd());
        if (shown) shown(window);
    });
    if (!window.imported_) return std::nullopt;
    return std::move(window.plan_);
}

}  // namespace arc
