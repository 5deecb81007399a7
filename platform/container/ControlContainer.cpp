#include "ControlContainer.h"

#include "platform/runtime/Error.h"
#include "platform/runtime/SystemHost.h"

#include <algorithm>
#include <cmath>

namespace arc {
namespace {

const wchar_t kClassName[] = L"ArcUserControl";

[[noreturn]] void InvalidValue() { throw RuntimeError(kErrInvalidPropertyValue); }

bool KnownScaleMode(int mode) { return mode >= kScaleTwips && mode <= kScaleHimetric; }

}  // namespace

ControlContainer::ControlContainer(AmbientProperties ambient)
    : ambient_(std::move(ambient)), font_(ambient_.font) {}

ControlContainer::~ControlContainer() { Unload(); }

bool ControlContainer::Create(HWND parent, const Place& twips) {
    ClassDesc cls{kClassName};
    screen_ = TwipsScale::Of(parent);
    RECT r = screen_.Rect(twips);
    return CreateWindowOf(cls, 0, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN, r.left, r.top,
                          r.right - r.left, r.bottom - r.top, parent);
}

void ControlContainer::Begin(UserControl& control) {
    if (control_) throw RuntimeError(kErrInvalidProcedureCall);
    control_ = &control;
    stage_ = Stage::Loading;
    control.Initialize();
}

void ControlContainer::InitNew(UserControl& control) {
    Begin(control);
    control.InitProperties();
    stage_ = Stage::Loaded;
    control.Resize();
}

void ControlContainer::Load(UserControl& control, const PropertyBag& design) {
    int width = design.ReadLong(L"Width", kDefaultWidth);
    int height = design.ReadLong(L"Height", kDefaultHeight);
    SetWindowPos(Hwnd(), nullptr, 0, 0, screen_.X(width), screen_.Y(height), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Begin(control);
    control.ReadProperties(design);
    stage_ = Stage::Loaded;
    control.Resize();
}

PropertyBag ControlContainer::Save() {
    PropertyBag bag(ambient_.regional);
    bag.WriteLong(L"Width", static_cast<int32_t>(std::lround(ScaleX(ScaleWidth(), scaleMode_, kScaleTwips))), 0);
    bag.WriteLong(L"Height", static_cast<int32_t>(std::lround(ScaleY(ScaleHeight(), scaleMode_, kScaleTwips))), 0);
    if (control_) control_->WriteProperties(bag);
    return bag;
}

void ControlContainer::Unload() {
    if (!control_) return;
    UserControl* control = std::exchange(control_, nullptr);
    stage_ = Stage::Empty;
    control->Terminate();
}

void ControlContainer::Unload(const UserControl& control) {
    if (Hosts(control)) Unload();
}

void ControlContainer::Move(int x, int y, int width, int height) {
    SetWindowPos(Hwnd(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ControlContainer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (Hwnd()) EnableWindow(Hwnd(), enabled);
}

void ControlContainer::SetFont(const FontDesc& font) {
    font_ = font;
    hfont_.Reset();  // made again on the next WM_GETFONT
}

double ControlContainer::ScaleWidth() const {
    RECT r{};
    GetClientRect(Hwnd(), &r);
    return ScaleX(r.right - r.left, kScalePixels, scaleMode_);
}

double ControlContainer::ScaleHeight() const {
    RECT r{};
    GetClientRect(Hwnd(), &r);
    return ScaleY(r.bottom - r.top, kScalePixels, scaleMode_);
}

void ControlContainer::SetScaleMode(int mode) {
    if (!KnownScaleMode(mode)) InvalidValue();
    scaleMode_ = mode;
}

double ControlContainer::Scale(double value, int fromMode, int toMode, bool vertical) const {
    auto twipsPer = [&](int mode) {
        switch (mode) {
            case kScaleTwips: return 1.0;
            case kScalePoints: return 20.0;
            case kScalePixels: return vertical ? TwipsPerPixelY() : TwipsPerPixelX();
            case kScaleCharacters: return vertical ? 240.0 : 120.0;
            case kScaleInches: return 1440.0;
            case kScaleMillimeters: return 1440.0 / 25.4;
            case kScaleCentimeters: return 1440.0 / 2.54;
            case kScaleHimetric: return 1440.0 / 2540.0;
            default: InvalidValue();
        }
    };
    return value * twipsPer(fromMode) / twipsPer(toMode);
}

double ControlContainer::ScaleX(double value, int fromMode, int toMode) const {
    return Scale(value, fromMode, toMode, false);
}

double ControlContainer::ScaleY(double value, int fromMode, int toMode) const {
    return Scale(value, fromMode, toMode, true);
}

double ControlContainer::TwipsPerPixelX() const { return 1440.0 / screen_.dpiX; }
double ControlContainer::TwipsPerPixelY() const { return 1440.0 / screen_.dpiY; }

HINSTANCE ControlContainer::Instance() const { return GetModuleHandleW(nullptr); }

SYSTEMTIME ControlContainer::Now() const {
    if (ambient_.now) return ambient_.now();
    SYSTEMTIME t;
    GetLocalTime(&t);
    return t;
}

void ControlContainer::RaiseEvent(int number, const std::wstring& name, std::vector<Variant>& args) {
    if (eventHandler_) eventHandler_(number, name, args);
}

void ControlContainer::PropertyChanged(const std::wstring& key) {
    if (std::find(changedKeys_.begin(), changedKeys_.end(), key) == changedKeys_.end()) changedKeys_.push_back(key);
}

void ControlContainer::DoEvents() { PumpPendingMessages(); }

LRESULT ControlContainer::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_SIZE:
            if (control_ && stage_ == Stage::Loaded) control_->Resize();
            return 0;
        case WM_SETFOCUS:
            if (control_ && stage_ == Stage::Loaded) {
                control_->EnterFocus();
                control_->GotFocus();
            }
            return 0;
        case WM_GETFONT:
            if (!hfont_) hfont_ = MakeFont(font_, screen_);
            return reinterpret_cast<LRESULT>(hfont_.Get());
        case WM_DESTROY:
            // The control ends while its own windows still exist.
            Unload();
            return 0;
        default:
            return Default(msg, wParam, lParam);
    }
}

}  // namespace arc
