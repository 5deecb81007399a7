// A form of the tests' own, made from a table and driven with messages: what
// every window of the programs relies on in the form layer.
#include "platform/window/Form.h"
#include "support/TestHost.h"
#include "support/WindowActions.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <vector>

namespace arc {
namespace {

enum class Id : int { Name = 100, Save, Panel, Caption, Drive, Apply, Custom, Cancel };

// A control of a kind the layer does not know: an edit box whose wrapper
// hears what it tells its parent.
class Wrapper : public ReflectedControl {
public:
    bool OnReflectedCommand(UINT code) override {
        commands.push_back(code);
        return true;
    }
    bool OnReflectedNotify(const NMHDR& header, LRESULT& result) override {
        notices.push_back(header.code);
        result = 42;
        return true;
    }
    std::vector<UINT> commands, notices;
};

// A child window of ours whose handler fails: its error goes to the form.
class FailingChild : public Window {
public:
    bool Create(HWND parent) { return CreateWindowOf({L"ArcFailingChild"}, 0, L"", WS_CHILD, 0, 0, 10, 10, parent); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_APP) throw RuntimeError(kErrPathFileAccess, L"Path/File access error");
        return Window::HandleMessage(msg, wParam, lParam);
    }
};

class TestForm : public Form {
public:
    explicit TestForm(Host& host) : Form(host) {}
    using Form::On;
    using Form::OnMessage;
    using Form::SetMousePointer;

    bool Make() {
        using enum Id;
        using K = ControlKind;
        const auto custom = [](HWND parent, const Place& twips, const TwipsScale& scale) {
            RECT r = scale.Rect(twips);
            return CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, r.left, r.top, r.right - r.left,
                                   r.bottom - r.top, parent, nullptr, nullptr, nullptr);
        };
        return Create({.className = L"ArcTestForm", .caption = L"Prueba", .width = 6000, .height = 3000}, {
            {.id = Name, .kind = K::TextBox, .place = {120, 120, 2000, 300}, .text = L"uno", .tab = 0},
            // Drawn over Save, but walked after it.
            {.id = Panel, .kind = K::Panel, .place = {1800, 0, 3000, 2000}, .text = L"Marco", .font = {L"Arial", 12},
             .fore = RGB(192, 0, 0), .back = RGB(107, 173, 226), .tab = 3, .visible = false},
            {.id = Save, .kind = K::Button, .place = {2000, 120, 1200, 400}, .text = L"Guardar", .tab = 1},
            {.id = Caption, .place = {120, 600, 1500, 255}, .text = L"Unidad", .fore = RGB(0, 0, 255), .tab = 5,
             .parent = Panel},
            {.id = Drive, .kind = K::TextBox, .place = {120, 900, 500, 300}, .tab = 8, .parent = Panel},
            {.id = Apply, .kind = K::Button, .place = {1200, 900, 1200, 400}, .text = L"Aplicar", .tab = 4,
             .parent = Panel},
            {.id = Custom, .kind = K::Custom, .place = {120, 2200, 2000, 300}, .tab = 2, .make = custom,
             .wrapper = &wrapper},
            {.id = Cancel, .kind = K::Button, .place = {3000, 2400, 1200, 400}, .text = L"Cancelar", .tab = 7},
        });
    }

    Wrapper wrapper;
};

class FormTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(form.Make());
        ShowWindow(form.Hwnd(), SW_SHOWNOACTIVATE);
        UpdateWindow(form.Hwnd());
    }
    // The controls Tab walks to from Name, until it comes back.
    std::vector<Id> TabWalk() {
        std::vector<Id> walk;
        SetFocus(form.Control(Id::Name));
        for (int i = 0; i < 10; ++i) {
            MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
            EXPECT_TRUE(form.PreTranslate(tab));
            const int id = GetDlgCtrlID(GetFocus());
            if (id == static_cast<int>(Id::Name)) break;
            walk.push_back(static_cast<Id>(id));
        }
        return walk;
    }

    test::TestHost host{L"C:\\"};
    TestForm form{host};
};

TEST_F(FormTest, TheTableNamesEachControlOnceAndPlacesItInTwips) {
    const TwipsScale& scale = form.Scale();
    RECT client;
    GetClientRect(form.Hwnd(), &client);
    EXPECT_EQ(client.right, scale.X(6000));
    EXPECT_EQ(client.bottom, scale.Y(3000));
    for (Id id : {Id::Name, Id::Save, Id::Panel, Id::Caption, Id::Drive, Id::Apply, Id::Custom, Id::Cancel})
        EXPECT_EQ(GetDlgCtrlID(form.Control(id)), static_cast<int>(id));
    EXPECT_EQ(form.Text(Id::Save), L"Guardar");
    EXPECT_EQ(GetParent(form.Control(Id::Drive)), form.Control(Id::Panel));
    RECT r;
    GetWindowRect(form.Control(Id::Drive), &r);
    MapWindowPoints(nullptr, form.Control(Id::Panel), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, scale.X(120));
    EXPECT_EQ(r.bottom, scale.Y(1200));
    EXPECT_EQ(form.Control(ControlId()), nullptr);
}

TEST_F(FormTest, NoticesReachTheirHandlersAndTheWrappersOfTheirControls) {
    int saves = 0, changes = 0;
    form.On(Id::Save, Event::Click, [&] { ++saves; });
    form.On(Id::Name, Event::Change, [&] { ++changes; });
    test::Click(form.Control(Id::Save));
    test::SetBoxText(form.Control(Id::Name), L"dos");
    form.SetText(Id::Name, L"dos");  // the text it holds: no change
    test::Click(form.Control(Id::Cancel));  // no handler: nothing happens
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(changes, 1);

    HWND custom = form.Control(Id::Custom);
    SendMessageW(custom, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"x"));  // EN_CHANGE to the form
    NMHDR header{custom, static_cast<UINT_PTR>(Id::Custom), static_cast<UINT>(NM_CLICK)};
    EXPECT_EQ(SendMessageW(form.Hwnd(), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header)), 42);
    ASSERT_FALSE(form.wrapper.commands.empty());
    EXPECT_EQ(form.wrapper.commands.back(), static_cast<UINT>(EN_CHANGE));
    EXPECT_EQ(form.wrapper.notices, std::vector<UINT>{static_cast<UINT>(NM_CLICK)});
}

TEST_F(FormTest, EveryErrorShowsItsOwnNumberAndDescriptionAndTheFormGoesOn) {
    int step = 0;
    form.On(Id::Save, Event::Click, [&] {
        ++step;
        if (step == 1) throw RuntimeError(kErrFileNotFound, L"File not found");
        if (step == 2) throw std::bad_alloc();
        throw std::runtime_error("tabla llena");
    });
    for (int i = 0; i < 3; ++i) test::Click(form.Control(Id::Save));
    FailingChild child;
    ASSERT_TRUE(child.Create(form.Control(Id::Panel)));
    SendMessageW(child.Hwnd(), WM_APP, 0, 0);
    ASSERT_EQ(host.messages.size(), 4u);
    EXPECT_EQ(host.messages[0].text, RuntimeErrorText(kErrFileNotFound, L"File not found"));
    // In the runtime's Spanish words; a library exception's English text stays out.
    EXPECT_EQ(host.messages[1].text, RuntimeErrorText(kErrOutOfMemory, L"Memoria insuficiente"));
    EXPECT_EQ(host.messages[2].text, RuntimeErrorText(kErrInternal, L"Error interno"));
    EXPECT_EQ(host.messages[3].text, RuntimeErrorText(kErrPathFileAccess, L"Path/File access error"));
    EXPECT_EQ(host.messages[0].flags, static_cast<UINT>(MB_OK));
    EXPECT_TRUE(IsWindow(form.Hwnd()));
    // A refusal of the program's own is shown in its plain words.
    ShowRuntimeError(host, form.Hwnd(), RuntimeError(kErrUnreadableAmount, L"El importe no es un número."));
    EXPECT_EQ(host.messages.back().text, L"El importe no es un número.");
}

TEST_F(FormTest, TabWalksTheDesignsTabIndexesWithTheShownPanelsControlsAmongTheWindows) {
    EXPECT_EQ(TabWalk(), (std::vector<Id>{Id::Save, Id::Custom, Id::Cancel}));
    // Apply 4, then Cancel 7 of the window, then Drive 8.
    ShowWindow(form.Control(Id::Panel), SW_SHOW);
    EXPECT_EQ(TabWalk(), (std::vector<Id>{Id::Save, Id::Custom, Id::Apply, Id::Cancel, Id::Drive}));
}

TEST_F(FormTest, PanelsDrawTheirFrameAndCaptionAndLabelsTheirColours) {
    HWND panel = form.Control(Id::Panel);
    ShowWindow(panel, SW_SHOW);
    UpdateWindow(form.Hwnd());
    HDC dc = GetDC(panel);
    RECT r;
    GetClientRect(panel, &r);
    int caption = 0, back = 0;
    for (int x = 0; x < r.right / 2; ++x)
        for (int y = 0; y < 20; ++y) {
            COLORREF c = GetPixel(dc, x, y);
            caption += GetRValue(c) > 120 && GetGValue(c) < 80 && GetBValue(c) < 80;
            back += c == RGB(107, 173, 226);
        }
    const COLORREF edge = GetPixel(dc, 0, r.bottom / 2), inside = GetPixel(dc, 5, r.bottom / 2);
    ReleaseDC(panel, dc);
    EXPECT_GT(caption, 20) << "no caption in its colour";
    EXPECT_GT(back, 100);
    EXPECT_NE(edge, inside) << "no frame";
    EXPECT_EQ(inside, RGB(107, 173, 226));

    HDC screen = GetDC(nullptr);
    HBRUSH brush = reinterpret_cast<HBRUSH>(SendMessageW(form.Hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(screen),
                                                         reinterpret_cast<LPARAM>(form.Control(Id::Caption))));
    EXPECT_NE(brush, nullptr);
    EXPECT_EQ(GetTextColor(screen), RGB(0, 0, 255));
    ReleaseDC(nullptr, screen);
}

TEST_F(FormTest, TheHourglassStaysOverTheWindowUntilSetBack) {
    const LPARAM overClient = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    EXPECT_FALSE(SendMessageW(form.Hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form.Hwnd()), overClient));
    form.SetMousePointer(MousePointer::Hourglass);
    EXPECT_EQ(form.Pointer(), MousePointer::Hourglass);
    EXPECT_TRUE(SendMessageW(form.Hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form.Hwnd()), overClient));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
    form.SetMousePointer(MousePointer::Default);
    EXPECT_FALSE(SendMessageW(form.Hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form.Hwnd()), overClient));
}

}  // namespace
}  // namespace arc
