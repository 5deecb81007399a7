#pragma once
// What a user control needs from the window that hosts it: its own child
// window (a window class of ours) with Enabled, Font, an inner size in the
// chosen scale mode (twips by default) and scale conversions; the ambient
// properties its host gives every control; the notifications of UserControl
// in the order of its life; events raised to the host with arguments the
// host may change; the notice that a persisted property changed; and the
// processing of pending messages.
//
// The host creates the container, then the control (which keeps a reference
// to its container, so the container outlives it), then loads the control
// with InitNew or Load.  The control hears Terminate from Unload, when the
// container's window is destroyed, or when the container goes, whichever
// comes first.
#include "PropertyBag.h"
#include "UserControl.h"
#include "Variant.h"
#include "platform/runtime/Regional.h"
#include "platform/window/Gdi.h"
#include "platform/window/Twips.h"
#include "platform/window/Window.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace arc {

// Scale modes: the units of ScaleWidth, ScaleHeight and the conversions.
constexpr int kScaleTwips = 1;
constexpr int kScalePoints = 2;
constexpr int kScalePixels = 3;
constexpr int kScaleCharacters = 4;
constexpr int kScaleInches = 5;
constexpr int kScaleMillimeters = 6;
constexpr int kScaleCentimeters = 7;
constexpr int kScaleHimetric = 8;

// What the host gives every control it holds.
struct AmbientProperties {
    bool userMode = true;  // true: the host is running, not being designed
    FontDesc font;         // the host's font, the default of a control's own
    Regional regional;     // the user's regional settings
    std::function<SYSTEMTIME()> now;  // the clock; empty: the system's local time
};

// number and name of the event, and its arguments, which the handler may change.
using EventHandler = std::function<void(int number, const std::wstring& name, std::vector<Variant>& args)>;

class ControlContainer : public Window {
public:
    // Size of a control whose design names none, in twips.
    static constexpr int kDefaultWidth = 2415;
    static constexpr int kDefaultHeight = 375;

    explicit ControlContainer(AmbientProperties ambient);
    ~ControlContainer() override;

    // --- Host side ---
    // The container's window, a child of parent at a place in twips, at the
    // parent's scale.
    bool Create(HWND parent, const Place& twips);
    // A new instance: Initialize, InitProperties, Resize.
    void InitNew(UserControl& control);
    // An instance loaded with its host's design: the container takes its own
    // size from the keys "Width" and "Height" (twips), then Initialize,
    // ReadProperties, Resize.
    void Load(UserControl& control, const PropertyBag& design);
    // The design to keep: the container's size keys, then WriteProperties.
    PropertyBag Save();
    // Ends the hosted control (Terminate, once).  With a control given, only
    // when it is the one hosted.
    void Unload();
    void Unload(const UserControl& control);
    bool Hosts(const UserControl& control) const { return control_ == &control; }

    // Position and size in pixels; the control hears Resize.
    void Move(int x, int y, int width, int height);
    void SetEventHandler(EventHandler handler) { eventHandler_ = std::move(handler); }
    // Persisted keys the control reported changed, each once, in order.
    const std::vector<std::wstring>& ChangedKeys() const { return changedKeys_; }
    void ClearChangedKeys() { changedKeys_.clear(); }

    // --- Control side ---
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    const FontDesc& Font() const { return font_; }
    void SetFont(const FontDesc& font);  // the window answers WM_GETFONT with it
    double ScaleWidth() const;           // inner size in the scale mode
    double ScaleHeight() const;
    int ScaleMode() const { return scaleMode_; }
    void SetScaleMode(int mode);  // RuntimeError 380 for a mode it does not know
    double ScaleX(double value, int fromMode, int toMode) const;
    double ScaleY(double value, int fromMode, int toMode) const;
    double TwipsPerPixelX() const;  // of the parent's screen
    double TwipsPerPixelY() const;
    HINSTANCE Instance() const;  // the program's module
    const AmbientProperties& Ambient() const { return ambient_; }
    SYSTEMTIME Now() const;
    void RaiseEvent(int number, const std::wstring& name, std::vector<Variant>& args);
    void PropertyChanged(const std::wstring& key);
    void DoEvents();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    enum class Stage { Empty, Loading, Loaded };
    void Begin(UserControl& control);
    double Scale(double value, int fromMode, int toMode, bool vertical) const;

    AmbientProperties ambient_;
    UserControl* control_ = nullptr;
    Stage stage_ = Stage::Empty;
    bool enabled_ = true;
    FontDesc font_;
    arc::Font hfont_;
    int scaleMode_ = kScaleTwips;
    TwipsScale screen_ = TwipsScale::Of(HWND{});
    EventHandler eventHandler_;
    std::vector<std::wstring> changedKeys_;
};

}  // namespace arc
