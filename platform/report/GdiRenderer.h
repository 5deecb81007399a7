#pragma once
// The one drawing routine of a report page, for any device context: the
// preview's screen bitmap and the printer alike.  Fonts are made once per
// face, style and device height and kept for the next page.
#include "Layout.h"
#include "platform/window/Gdi.h"
#include "platform/window/Twips.h"

#include <map>
#include <tuple>

namespace arc::report {

// Where the sheet lands on the device: its corner at the origin, its twips
// at the device's scale.
struct DeviceMapping {
    TwipsScale scale;
    int originX = 0, originY = 0;

    int X(int twips) const { return originX + scale.X(twips); }
    int Y(int twips) const { return originY + scale.Y(twips); }
    // A mapping at a resolution (dots per inch), the sheet's corner at origin.
    static DeviceMapping ForDpi(int dpiX, int dpiY) { return {TwipsScale{double(dpiX), double(dpiY)}}; }
};

class GdiRenderer {
public:
    // Draws the page's items; the caller has painted the sheet's background.
    void Draw(HDC dc, const PageContent& page, const DeviceMapping& map);

    // The face GDI is asked for: the style's face when the system has it,
    // otherwise a face with the same metrics (Liberation Sans for Arial).
    static std::wstring DeviceFace(const std::wstring& face);

private:
    HFONT FontFor(const TextStyle& style, int height);
    std::map<std::tuple<std::wstring, bool, bool, int>, Font> fonts_;
    std::map<std::wstring, std::wstring> faces_;
};

}  // namespace arc::report
