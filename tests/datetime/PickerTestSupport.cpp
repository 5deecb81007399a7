#include "PickerTestSupport.h"

namespace arc {

SYSTEMTIME FixedNow() {
    SYSTEMTIME t{};
    t.wYear = 2031;
    t.wMonth = 5;
    t.wDay = 20;
    t.wHour = 9;
    t.wMinute = 15;
    return t;
}

double FixedToday() { return DateSerial(2031, 5, 20); }

namespace {
HWND top = nullptr;

class TopWindowEnvironment : public ::testing::Environment {
public:
    void TearDown() override {
        if (top) DestroyWindow(top);
        top = nullptr;
    }
};
const auto* environment = ::testing::AddGlobalTestEnvironment(new TopWindowEnvironment);
}  // namespace

HWND TestTop() {
    if (!top) {
        top = CreateWindowExW(0, L"STATIC", L"picker tests", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        SetForegroundWindow(top);
    }
    return top;
}

HostWindow::HostWindow() {
    hwnd_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200, TestTop(), nullptr,
                            GetModuleHandleW(nullptr), nullptr);
}

namespace {
AmbientProperties TestAmbient(bool userMode) {
    AmbientProperties a;
    a.userMode = userMode;
    a.regional = SystemRegional();
    a.now = FixedNow;
    return a;
}
}  // namespace

HostedPicker::HostedPicker(HWND parent, bool userMode) : container(TestAmbient(userMode)), picker(container) {
    EXPECT_TRUE(container.Create(parent, {150, 150, 2400, 375}));
    container.SetEventHandler([this](int number, const std::wstring& name, std::vector<Variant>& args) {
        events.push_back({number, name, args});
    });
}

void HostedPicker::Load(const std::wstring& design) {
    container.Load(picker, PropertyBag::FromText(design, container.Ambient().regional));
}

int HostedPicker::Count(int eventNumber) const {
    int n = 0;
    for (const auto& e : events) n += e.number == eventNumber;
    return n;
}

double PickerValue(HWND picker) {
    SYSTEMTIME t{};
    if (SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t)) != GDT_VALID) return -1e9;
    return FromSystemTime(t);
}

void UserPicks(HWND picker, double value) {
    SYSTEMTIME t = ToSystemTime(value);
    SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&t));
}

}  // namespace arc
