#include "ReconciliationWindow.h"

#include "StatementStore.h"

#include "platform/runtime/DateValue.h"
#include "platform/runtime/Format.h"

#include <algorithm>

namespace arc {
namespace {

constexpr int kMargin = 120;
constexpr int kWidth = 11400, kHeight = 8400;
constexpr int kListsTop = 2880;
constexpr COLORREF kRed = RGB(192, 0, 0), kGreen = RGB(0, 128, 0);

RECT PlaceIn(HWND window, HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

ReconciliationWindow::ReconciliationWindow(Host& host, data::Connection& connection)
    : ModalForm(host), connection_(connection) {}

std::vector<ControlDesc> ReconciliationWindow::Layout(const std::wstring& headline) {
    using K = ControlKind;
    const int full = kWidth - 2 * kMargin;
    const FontDesc bold(L"MS Sans Serif", 8.25, true);
    auto list = [](ListView& view) {
        return [&view](HWND parent, const Place& twips, const TwipsScale& scale) {
            return view.Create(parent, twips, scale, {});
        };
    };
    return {
        {.id = kHeadline, .place = {kMargin, 120, full, 255}, .text = headline, .font = bold, .tab = 100},
        {.id = kStatementLabel, .place = {kMargin, 510, 1000, 255}, .text = L"Extracto:", .tab = 100},
        {.id = kStatementBox, .kind = K::DropDownList, .place = {kMargin + 1000, 480, 9000, 3000}, .tab = 0},
        {.id = kAccountText, .place = {kMargin, 900, full, 255}, .tab = 100},
        {.id = kBankLabel, .place = {kMargin, 1260, 3600, 255}, .tab = 100},
        {.id = kBankValue, .place = {kMargin + 3600, 1260, 1800, 255}, .align = Align::Right, .tab = 100},
        {.id = kBookLabel, .place = {kMargin, 1560, 3600, 255}, .tab = 100},
        {.id = kBookValue, .place = {kMargin + 3600, 1560, 1800, 255}, .align = Align::Right, .tab = 100},
        {.id = kDifferenceLabel, .place = {kMargin, 1860, 3600, 255}, .text = L"Diferencia:", .font = bold, .tab = 100},
        {.id = kDifferenceValue, .place = {kMargin + 3600, 1860, 1800, 255}, .font = bold, .align = Align::Right,
         .tab = 100},
        {.id = kVerdict, .place = {kMargin, 2220, full, 600}, .tab = 100},
        {.id = kBookOnlyLabel, .place = {kMargin, kListsTop, full, 255},
         .text = L"Movimientos del libro en el período que no están en el extracto:", .tab = 100},
        {.id = kBookOnlyList, .kind = K::Custom, .place = {kMargin, kListsTop + 300, full, 1800}, .tab = 1,
         .make = list(bookOnly_), .wrapper = &bookOnly_},
        {.id = kFileOnlyLabel, .place = {kMargin, kListsTop + 2220, full, 255},
         .text = L"Movimientos del extracto que no están en el libro:", .tab = 100},
        {.id = kFileOnlyList, .kind = K::Custom, .place = {kMargin, kListsTop + 2520, full, 1800}, .tab = 2,
         .make = list(fileOnly_), .wrapper = &fileOnly_},
        {.id = kClose, .kind = K::Button, .place = {kWidth - kMargin - 1200, kHeight - 540, 1200, 420},
         .text = L"Cerrar", .tab = 3},
    };
}

bool ReconciliationWindow::Create(HWND owner, std::int64_t statementId, const std::wstring& headline) {
    const FormDesc desc{.className = L"ArcReconciliation", .caption = kCaption, .width = kWidth, .height = kHeight,
                        .icon = 1, .style = (WS_OVERLAPPEDWINDOW & ~WS_MINIMIZEBOX) | WS_CLIPCHILDREN,
                        .placement = Placement::CentredOnScreen};
    if (!Form::Create(desc, Layout(headline), owner)) return false;
    SendMessageW(Control(kClose), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    const Regional& regional = host_.Regional();
    bookOnly_.SetColumns({{L"Fecha", 1300}, {L"Descripción", 5200}, {L"Ingreso", 1500, Align::Right},
                          {L"Egreso", 1500, Align::Right}, {L"ID", 800, Align::Right}});
    bookOnly_.CellTextOf = [this, &regional](size_t row, int column) -> std::wstring {
        const BookRow& r = current_.bookOnly.at(row);
        switch (column) {
            case 0: {
                auto date = ParseDate(r.date, regional);
                return date ? ShortDate(*date, regional) : r.date;
            }
            case 1: return r.description;
            case 2: return r.cents >= 0 ? CentsText(r.cents, regional) : L"";
            case 3: return r.cents < 0 ? CentsText(-r.cents, regional) : L"";
            case 4: return std::to_wstring(r.id);
        }
        return L"";
    };
    fileOnly_.SetColumns({{L"Fecha", 1300}, {L"Concepto", 5200}, {L"Ingreso", 1500, Align::Right},
                          {L"Egreso", 1500, Align::Right}, {L"Línea", 800, Align::Right}});
    fileOnly_.CellTextOf = [this, &regional](size_t row, int column) -> std::wstring {
        const BankMovement& m = current_.fileOnly.at(row);
        switch (column) {
            case 0: return ShortDate(m.date, regional);
            case 1: return m.wording;
            case 2: return m.cents >= 0 ? CentsText(m.cents, regional) : L"";
            case 3: return m.cents < 0 ? CentsText(-m.cents, regional) : L"";
            case 4: return std::to_wstring(m.line);
        }
        return L"";
    };

    statements_ = StoredStatementList(connection_, regional);
    HWND box = Control(kStatementBox);
    int chosen = 0;
    for (size_t i = 0; i < statements_.size(); ++i) {
        SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(statements_[i].second.c_str()));
        if (statements_[i].first == statementId) chosen = static_cast<int>(i);
    }
    SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
    On(kStatementBox, Event::SelectionChange, [this] {
        const LRESULT item = SendMessageW(Control(kStatementBox), CB_GETCURSEL, 0, 0);
        if (item >= 0 && static_cast<size_t>(item) < statements_.size())
            ShowStatement(statements_[static_cast<size_t>(item)].first);
    });
    On(kClose, Event::Click, [this] { EndModal(); });
    OnMessage(WM_CLOSE, [this] { EndModal(); });
    OnMessage(WM_SIZE, [this] { Arrange(); });
    OnMessage(WM_GETMINMAXINFO, [this](WPARAM, LPARAM lParam) -> Reply {
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {Scale().X(kWidth * 3 / 4), Scale().Y(kHeight * 3 / 4)};
        return 0;
    });
    if (!statements_.empty()) ShowStatement(statements_[static_cast<size_t>(chosen)].first);
    Arrange();
    return true;
}

void ReconciliationWindow::ChooseStatement(int item) {
    SendMessageW(Control(kStatementBox), CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    SendMessageW(Hwnd(), WM_COMMAND, MAKEWPARAM(kStatementBox, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Control(kStatementBox)));
}

void ReconciliationWindow::ShowStatement(std::int64_t id) {
    current_ = Reconcile(connection_, id);
    const Regional& regional = host_.Regional();
    const AccountStatement& s = current_.statement;
    const std::wstring last = ShortDate(s.lastDate, regional);
    const std::wstring account = AccountText(s);
    SetText(kAccountText, (account.empty() ? L"" : account + L"; ") + L"período del " +
                              ShortDate(s.firstDate, regional) + L" al " + last + L".");
    SetText(kBankLabel, L"Saldo del banco el " + last + L":");
    SetText(kBankValue, current_.bankCents ? CentsText(*current_.bankCents, regional) : L"no consta");
    SetText(kBookLabel, L"Fondo del libro el " + last + L":");
    SetText(kBookValue, CentsText(current_.bookCents, regional));
    const auto difference = current_.Difference();
    SetText(kDifferenceValue, difference ? CentsText(*difference, regional) : L"no se puede calcular");
    std::wstring verdict;
    if (!difference) {
        verdict = L"El archivo no trae el saldo del banco: no se puede calcular la diferencia.";
    } else if (*difference == 0) {
        verdict = L"El libro cuadra con el banco.";
    } else {
        verdict = L"El libro no cuadra con el banco.";
        if (s.initialCents && *s.initialCents != current_.bookStartCents)
            verdict += L" Ya al empezar el período el saldo del banco era " + CentsText(*s.initialCents, regional) +
                       L" y el fondo del libro " + CentsText(current_.bookStartCents, regional) + L".";
        if (current_.bookOnly.empty() && current_.fileOnly.empty())
            verdict += L" Ningún movimiento del período falta en el libro ni en el extracto.";
    }
    SetText(kVerdict, verdict);
    SetForeColour(kDifferenceValue, difference && *difference == 0 ? kGreen : kRed);
    SetForeColour(kVerdict, difference && *difference == 0 ? kGreen : kRed);
    listsShown_ = !difference || *difference != 0;
    for (Id id : {kBookOnlyLabel, kBookOnlyList, kFileOnlyLabel, kFileOnlyList})
        ShowWindow(Control(id), listsShown_ ? SW_SHOW : SW_HIDE);
    bookOnly_.SetRows(current_.bookOnly.size());
    fileOnly_.SetRows(current_.fileOnly.size());
}

// The two lists share what the window's height leaves; the button keeps to
// the bottom right corner.
void ReconciliationWindow::Arrange() {
    RECT client{};
    GetClientRect(Hwnd(), &client);
    const TwipsScale& s = Scale();
    const int margin = s.X(kMargin), width = client.right - 2 * margin;
    for (Id id : {kHeadline, kAccountText, kVerdict, kBookOnlyLabel, kFileOnlyLabel}) {
        const RECT r = PlaceIn(Hwnd(), Control(id));
        MoveWindow(Control(id), margin, r.top, width, r.bottom - r.top, TRUE);
    }
    const int bottom = client.bottom - s.Y(660), label = s.Y(300), top = s.Y(kListsTop);
    const int each = std::max<int>(s.Y(600), (bottom - top - 2 * label - s.Y(120)) / 2);
    MoveWindow(Control(kBookOnlyList), margin, top + label, width, each, TRUE);
    MoveWindow(Control(kFileOnlyLabel), margin, top + label + each + s.Y(120), width, s.Y(255), TRUE);
    MoveWindow(Control(kFileOnlyList), margin, top + 2 * label + each + s.Y(120), width, each, TRUE);
    MoveWindow(Control(kClose), client.right - margin - s.X(1200), client.bottom - s.Y(540), s.X(1200), s.Y(420), TRUE);
}

void ReconciliationWindow::Show(HWND owner, Host& host, data::Connection& connection, std::int64_t statementId,
                                const std::wstring& headline, const std::function<void(ReconciliationWindow&)>& shown) {
    ReconciliationWindow window(host, connection);
    if (!window.Create(owner, statementId, headline))
        throw RuntimeError(static_cast<long>(GetLastError()), L"La ventana del cuadre no se pudo crear.");
    window.RunModal(owner, [&] {
        SetFocus(window.Control(kClose));
        if (shown) shown(window);
    });
}

}  // namespace arc
