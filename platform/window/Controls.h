#pragma once
// Child controls created from compact descriptions, so that a window's
// layout reads like the table of its design: kind, name, place in twips,
// text, font, colours, alignment, focus order.  The set owns the fonts and
// brushes and answers the parent's WM_CTLCOLOR* messages for its controls.
#include "Gdi.h"

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace arc {

enum class ControlKind { Label, TextBox, MultiLineTextBox, Button, Panel };
enum class Align { Left, Center, Right };

constexpr COLORREF kNoColour = CLR_INVALID;

struct ControlDesc {
    ControlKind kind;
    std::wstring name;
    int left, top, width, height;  // twips, relative to the parent
    std::wstring text;
    FontDesc font;
    COLORREF fore = kNoColour;  // text colour; kNoColour: the system's
    COLORREF back = kNoColour;  // background; kNoColour: the parent's (labels are transparent)
    Align align = Align::Left;
    int tabIndex = 0;
    int id = 0;                    // control id for WM_COMMAND
    std::wstring parent;           // name of a Panel of the same set; empty: the window
    bool visible = true;
    bool frameBorder = false;      // a label drawn with a thin frame
    std::wstring tooltip;
};

class ControlSet {
public:
    ControlSet() = default;
    explicit ControlSet(HWND window);
    ~ControlSet();
    ControlSet(const ControlSet&) = delete;
    ControlSet& operator=(const ControlSet&) = delete;

    // Creates the controls in focus order (tabIndex), which is also the order
    // that Tab follows.  Returns false if any control could not be created.
    bool Create(const std::vector<ControlDesc>& descs, int dpiX, int dpiY);
    // The same for a set made before its window existed.
    bool Create(HWND window, const std::vector<ControlDesc>& descs, int dpiX, int dpiY) {
        window_ = window;
        return Create(descs, dpiX, dpiY);
    }

    HWND Get(const std::wstring& name) const;
    const ControlDesc* Desc(const std::wstring& name) const;
    const std::wstring* NameOf(HWND control) const;

    void SetForeColour(const std::wstring& name, COLORREF colour);
    COLORREF ForeColour(const std::wstring& name) const;
    void SetBackColour(const std::wstring& name, COLORREF colour);
    COLORREF BackColour(const std::wstring& name) const;

    // Answers WM_CTLCOLORSTATIC / WM_CTLCOLOREDIT / WM_CTLCOLORBTN for a
    // control of this set; returns nullptr for others.
    HBRUSH OnCtlColor(HDC dc, HWND control);

    // The window background colour a panel paints.
    static COLORREF PanelColour(HWND panel);

private:
    struct Item {
        ControlDesc desc;
        HWND hwnd = nullptr;
        Font font;
        Brush backBrush;
    };
    HWND window_ = nullptr;
    HWND tooltip_ = nullptr;
    std::vector<std::unique_ptr<Item>> items_;
    std::map<std::wstring, Item*> byName_;
    std::map<HWND, Item*> byHwnd_;
};

// Text of any window.
std::wstring WindowText(HWND hwnd);

}  // namespace arc
