// The control container with a real window: notifications in the order of a
// control's life, size and scale, font, events and property-changed notices.
#include "platform/container/ControlContainer.h"
#include "platform/runtime/Error.h"
#include "platform/window/Twips.h"
#include "support/RaisedError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace arc {
namespace {

class Recorder : public UserControl {
public:
    explicit Recorder(ControlContainer& c) : c_(c) {}
    std::vector<std::wstring> log;
    double widthAtRead = 0;
    bool windowAtTerminate = false;

    void Initialize() override { log.push_back(L"Initialize"); }
    void InitProperties() override { log.push_back(L"InitProperties"); }
    void ReadProperties(const PropertyBag& bag) override {
        log.push_back(L"ReadProperties");
        widthAtRead = c_.ScaleWidth();
        extra_ = bag.ReadText(L"Extra", L"");
    }
    void WriteProperties(PropertyBag& bag) override {
        log.push_back(L"WriteProperties");
        bag.WriteText(L"Extra", extra_, L"");
    }
    void Resize() override { log.push_back(L"Resize"); }
    void EnterFocus() override { log.push_back(L"EnterFocus"); }
    void GotFocus() override { log.push_back(L"GotFocus"); }
    void Terminate() override {
        log.push_back(L"Terminate");
        windowAtTerminate = IsWindow(c_.Hwnd()) != FALSE;
    }

private:
    ControlContainer& c_;
    std::wstring extra_;
};

HWND Top() {
    static HWND top = CreateWindowExW(0, L"STATIC", L"container tests", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400,
                                      300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    return top;
}

AmbientProperties Ambient() {
    AmbientProperties a;
    a.regional = SystemRegional();
    return a;
}

using Log = std::vector<std::wstring>;

using test::ErrorOf;

TEST(Container, NewInstanceHearsItsLifeInOrder) {
    ControlContainer c(Ambient());
    ASSERT_TRUE(c.Create(Top(), {75, 75, 1500, 300}));
    Recorder r(c);
    c.InitNew(r);
    EXPECT_EQ(r.log, (Log{L"Initialize", L"InitProperties", L"Resize"}));
    c.Move(5, 5, 150, 30);
    SetFocus(c.Hwnd());
    EXPECT_EQ(r.log, (Log{L"Initialize", L"InitProperties", L"Resize", L"Resize", L"EnterFocus", L"GotFocus"}));
    EXPECT_EQ(ErrorOf([&] { c.InitNew(r); }), kErrInvalidProcedureCall);
    c.Unload();
    c.Unload();
    EXPECT_EQ(r.log.back(), L"Terminate");
    EXPECT_EQ(std::count(r.log.begin(), r.log.end(), L"Terminate"), 1);
}

TEST(Container, LoadedInstanceGetsItsSizeFirstAndSavesWithIt) {
    ControlContainer c(Ambient());
    ASSERT_TRUE(c.Create(Top(), {75, 75, ControlContainer::kDefaultWidth, ControlContainer::kDefaultHeight}));
    Recorder r(c);
    c.Load(r, PropertyBag::FromText(L"Width=long:1800\r\nHeight=long:450\r\nExtra=text:\"x\"\r\n", Ambient().regional));
    EXPECT_EQ(r.log, (Log{L"Initialize", L"ReadProperties", L"Resize"}));
    EXPECT_NEAR(r.widthAtRead, 1800, c.TwipsPerPixelX());
    RECT rc{};
    GetClientRect(c.Hwnd(), &rc);
    EXPECT_EQ(rc.right, std::lround(1800 / c.TwipsPerPixelX()));
    EXPECT_EQ(c.Save().ToText(), L"Width=long:1800\r\nHeight=long:450\r\nExtra=text:\"x\"\r\n");
}

TEST(Container, ControlEndsBeforeItsWindowsGo) {
    HWND host = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, Top(), nullptr, nullptr, nullptr);
    ControlContainer c(Ambient());
    ASSERT_TRUE(c.Create(host, {0, 0, ControlContainer::kDefaultWidth, ControlContainer::kDefaultHeight}));
    Recorder r(c);
    c.InitNew(r);
    DestroyWindow(host);
    EXPECT_EQ(r.log.back(), L"Terminate");
    EXPECT_TRUE(r.windowAtTerminate);


    // The container's end ends the control too; a control it does not hold is left alone.
    auto d = std::make_unique<ControlContainer>(Ambient());
    ASSERT_TRUE(d->Create(Top(), {0, 0, ControlContainer::kDefaultWidth, ControlContainer::kDefaultHeight}));
    Recorder held(*d);
    d->InitNew(held);
    d->Unload(r);
    EXPECT_NE(held.log.back(), L"Terminate");
    d.reset();
    EXPECT_EQ(held.log.back(), L"Terminate");
}

TEST(Container, ScalesSizesAndKeepsEnabledAndFont) {
    ControlContainer c(Ambient());
    ASSERT_TRUE(c.Create(Top(), {0, 0, 3000, 600}));
    EXPECT_DOUBLE_EQ(c.TwipsPerPixelX(), 1440.0 / TwipsScale::Of(HWND{}).dpiX);
    EXPECT_DOUBLE_EQ(c.ScaleX(1, kScaleInches, kScaleTwips), 1440);
    EXPECT_DOUBLE_EQ(c.ScaleY(10, kScalePixels, kScaleTwips), 10 * c.TwipsPerPixelY());
    EXPECT_NEAR(c.ScaleX(2540, kScaleHimetric, kScaleCentimeters), 2.54, 1e-9);
    EXPECT_NEAR(c.ScaleX(1, kScaleCentimeters, kScaleMillimeters), 10, 1e-9);
    EXPECT_DOUBLE_EQ(c.ScaleX(3, kScaleCharacters, kScalePoints), 18);
    double widthTwips = c.ScaleWidth();
    c.SetScaleMode(kScalePixels);
    EXPECT_DOUBLE_EQ(c.ScaleWidth(), widthTwips / c.TwipsPerPixelX());
    EXPECT_EQ(ErrorOf([&] { c.SetScaleMode(0); }), kErrInvalidPropertyValue);
    EXPECT_EQ(c.ScaleMode(), kScalePixels);

    c.SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(c.Hwnd()));
    c.SetFont(FontDesc{L"Arial", 12});
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(c.Hwnd(), WM_GETFONT, 0, 0));
    LOGFONTW lf{};
    ASSERT_TRUE(GetObjectW(font, sizeof lf, &lf));
    EXPECT_STREQ(lf.lfFaceName, L"Arial");
    EXPECT_EQ(lf.lfHeight, TwipsScale::Of(HWND{}).FontHeight(12));
    EXPECT_EQ(c.Instance(), GetModuleHandleW(nullptr));
}

TEST(Container, EventsPassArgumentsByReferenceAndNoticesAreKeptOnce) {
    ControlContainer c(Ambient());
    std::vector<Variant> args{Variant::Integer(65), Variant::Integer(1)};
    c.RaiseEvent(2, L"KeyDown", args);  // nobody listens yet
    int heard = 0;
    c.SetEventHandler([&](int number, const std::wstring& name, std::vector<Variant>& a) {
        heard = number;
        EXPECT_EQ(name, L"KeyDown");
        a[0] = Variant::Integer(0);
    });
    c.RaiseEvent(2, L"KeyDown", args);
    EXPECT_EQ(heard, 2);
    EXPECT_EQ(args[0], Variant::Integer(0));

    c.PropertyChanged(L"Format");
    c.PropertyChanged(L"DateTime");
    c.PropertyChanged(L"Format");
    EXPECT_EQ(c.ChangedKeys(), (std::vector<std::wstring>{L"Format", L"DateTime"}));

    PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
    c.DoEvents();
    MSG m;
    EXPECT_FALSE(PeekMessageW(&m, nullptr, WM_APP, WM_APP, PM_REMOVE));
}

}  // namespace
}  // namespace arc
