#include "ListWindow.h"

#include "PickerDateField.h"

#include <algorithm>

namespace arc {
namespace {

constexpr int kGap = 120;         // twips between the parts and the edges
constexpr int kFootHeight = 720;  // the row of the text and the buttons
constexpr int kButtonWidth = 1545, kButtonHeight = 495;

}  // namespace

ListWindow::ListWindow(Host& host, SIZE& rememberedSize) : ModalForm(host), remembered_(rememberedSize) {
    OnMessage(WM_SIZE, [this](WPARAM, LPARAM) -> Reply {
        PlaceParts();
        return 0;
    });
    OnMessage(WM_GETMINMAXINFO, [this](WPARAM, LPARAM lParam) -> Reply {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        if (minimum_.cx) info->ptMinTrackSize = {minimum_.cx, minimum_.cy};
        return 0;
    });
    OnMessage(WM_CLOSE, [this] { Finish(); });
}

ControlDesc ListWindow::GridEntry(ControlId id, int tab, const Place& place) {
    return {.id = id, .kind = ControlKind::Custom, .place = place, .tab = tab,
            .make = [this](HWND parent, const Place& twips, const TwipsScale& scale) {
                grid_.Create(parent, twips, scale, FontDesc{L"MS Sans Serif", 8.25, true}, FontDesc{L"Arial", 12});
                return grid_.Hwnd();
            },
            .wrapper = &grid_};
}

std::vector<ControlDesc> ListWindow::DateRangeEntries(ControlId label1, ControlId desde, ControlId label2,
                                                      ControlId hasta, int labelTab) {
    return {
        {.id = label1, .place = {120, 120, 1935, 255}, .text = L"Desde", .tab = labelTab},
        {.id = desde, .kind = ControlKind::Custom, .place = {120, 360, 1935, 495}, .tab = 0,
         .make = PickerDateFieldMaker(desde_, host_)},
        {.id = label2, .place = {2160, 120, 1935, 255}, .text = L"Hasta", .tab = labelTab + 1},
        {.id = hasta, .kind = ControlKind::Custom, .place = {2160, 360, 1935, 495}, .tab = 1,
         .make = PickerDateFieldMaker(hasta_, host_)},
    };
}

bool ListWindow::CreateList(HWND owner, const wchar_t* className, const wchar_t* caption, int width,
                            const std::vector<ControlDesc>& table, Parts parts) {
    parts_ = std::move(parts);
    const FormDesc desc{.className = className, .caption = caption, .width = width, .height = 7200,
                        .style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX |
                                 WS_CLIPCHILDREN,
                        .placement = Placement::CentredOnScreen};
    if (!Create(desc, table, owner)) return false;
    RECT r;
    GetWindowRect(Hwnd(), &r);
    minimum_ = {r.right - r.left, r.bottom - r.top};
    if (remembered_.cx >= minimum_.cx && remembered_.cy >= minimum_.cy)
        SetWindowPos(Hwnd(), nullptr, r.left - (remembered_.cx - minimum_.cx) / 2,
                     r.top - (remembered_.cy - minimum_.cy) / 2, remembered_.cx, remembered_.cy,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    PlaceParts();
    return true;
}

// The grid takes what the window gives; the text and the buttons stay at
// its foot, the buttons at the right.
void ListWindow::PlaceParts() {
    RECT client;
    GetClientRect(Hwnd(), &client);
    const TwipsScale& s = Scale();
    const int gap = s.X(kGap), foot = s.Y(kFootHeight), top = s.Y(parts_.gridTop);
    const int buttonW = s.X(kButtonWidth), buttonH = s.Y(kButtonHeight), footY = client.bottom - foot + s.Y(kGap);
    if (HWND grid = grid_.Hwnd())
        MoveWindow(grid, gap, top, std::max(0L, client.right - 2 * gap), std::max(0L, client.bottom - foot - top), TRUE);
    LONG right = client.right - gap;
    for (ControlId button : parts_.footButtons) {
        MoveWindow(Control(button), right - buttonW, footY, buttonW, buttonH, TRUE);
        right -= buttonW + gap;
    }
    if (HWND text = Control(parts_.footText)) MoveWindow(text, gap, footY, std::max(0L, right - gap), buttonH, TRUE);
}

void ListWindow::RunList(HWND owner, const std::function<void()>& first, const std::function<void()>& onShown) {
    RunModal(owner, [&] {
        first();
        if (onShown) onShown();
    });
}

void ListWindow::Finish() {
    if (Ended()) return;
    RECT r;
    if (Hwnd() && !IsZoomed(Hwnd()) && GetWindowRect(Hwnd(), &r)) remembered_ = {r.right - r.left, r.bottom - r.top};
    EndModal();
}

}  // namespace arc
