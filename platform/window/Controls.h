#pragma once
// Child controls made from a table that reads like the table of the design:
// name, kind, place in twips, text, font, colours, alignment, tab index.  The
// set owns their fonts and brushes, answers WM_CTLCOLOR* for them, paints its
// panels as framed boxes with their captions and knows the focus order.
#include "Gdi.h"
#include "Twips.h"

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace arc {

// A control's one identity: the constant that names it in the table and in
// the code, and its control id.
class ControlId {
public:
    constexpr ControlId() = default;
    template <typename E>
        requires std::is_enum_v<E>
    constexpr ControlId(E e) : value_(static_cast<int>(e)) {}
    constexpr int Value() const { return value_; }
    friend constexpr bool operator==(ControlId, ControlId) = default;

private:
    int value_ = 0;
};

// ComboBox: a box the user may also type in; DropDownList: a choice from its list only.
enum class ControlKind { Label, TextBox, MultiLineTextBox, Button, Panel, ComboBox, DropDownList, Custom };
enum class Align { Left, Center, Right };

constexpr COLORREF kNoColour = CLR_INVALID;

// The wrapper of a control that hears what the control tells its parent:
// the form passes it each WM_COMMAND and WM_NOTIFY the control sends.
class ReflectedControl {
public:
    virtual bool OnReflectedCommand(UINT) { return false; }
    virtual bool OnReflectedNotify(const NMHDR&, LRESULT&) { return false; }

protected:
    ~ReflectedControl() = default;
};

// Makes a control of a kind this layer does not know (a grid, a date field)
// at its place in the parent and returns its outer window, or nullptr.
using ControlMaker = std::function<HWND(HWND parent, const Place& twips, const TwipsScale& scale)>;

struct ControlDesc {
    ControlId id;
    ControlKind kind = ControlKind::Label;
    Place place;                // twips, relative to the parent
    std::wstring text;
    FontDesc font;
    COLORREF fore = kNoColour;  // text colour; kNoColour: the system's
    COLORREF back = kNoColour;  // background; kNoColour: the parent's (labels are transparent)
    Align align = Align::Left;
    int tab = 0;                // the design's tab index
    ControlId parent;           // a Panel of the same table; none: the window
    bool visible = true;
    bool frameBorder = false;   // a label drawn with a thin frame
    std::wstring tooltip;
    ControlMaker make;                    // Custom: makes the control
    ReflectedControl* wrapper = nullptr;  // hears the control's notices
};

class ControlSet {
public:
    ControlSet() = default;
    ~ControlSet();
    ControlSet(const ControlSet&) = delete;
    ControlSet& operator=(const ControlSet&) = delete;

    // Creates the controls: panels first, so that they are drawn over the
    // controls they cover, then the others in the order of their tab index.
    // Returns false if any control could not be created.
    bool Create(HWND window, const std::vector<ControlDesc>& table, const TwipsScale& scale);

    HWND Get(ControlId id) const;
    ReflectedControl* WrapperOf(HWND control) const;
    // The controls in the order of their tab indexes, a panel's own among
    // the window's, whatever order they are drawn in.
    const std::vector<HWND>& FocusOrder() const { return focusOrder_; }

    void SetForeColour(ControlId id, COLORREF colour);
    COLORREF ForeColour(ControlId id) const;
    void SetBackColour(ControlId id, COLORREF colour);
    COLORREF BackColour(ControlId id) const;

    // Answers WM_CTLCOLORSTATIC / WM_CTLCOLOREDIT / WM_CTLCOLORBTN for a
    // control of this set; returns nullptr for others.
    HBRUSH OnCtlColor(HDC dc, HWND control);

private:
    struct Item {
        ControlDesc desc;
        HWND hwnd = nullptr;
        Font font;
        Brush backBrush;
    };
    static LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    Item* Find(ControlId id) const;
    bool CreateOne(const ControlDesc& desc, const TwipsScale& scale);
    void MakeFocusOrder();
    void AddTooltip(HWND control, const std::wstring& text);

    HWND window_ = nullptr;
    HWND tooltip_ = nullptr;
    std::vector<std::unique_ptr<Item>> items_;
    std::map<int, Item*> byId_;
    std::map<HWND, Item*> byHwnd_;
    std::vector<HWND> focusOrder_;
};

// Text of any window.
std::wstring WindowText(HWND hwnd);

}  // namespace arc
