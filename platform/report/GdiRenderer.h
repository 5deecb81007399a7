#pragma once
// The one drawing routine of a report page, for any device context: the
// preview's screen bitmap and the printer alike.  Fonts are made once per
// face, style and device height and kept for the next page.
#include "Layout.h"
#include "platform/window/Gdi.h"

#include <map>
#include <tuple>

namespace arc::report {

// Where the sheet lands on the device: device = origin + twips * scale.
struct DeviceMapping {
    double scaleX = 1, scaleY = 1;  // device units per twip
    int originX = 0, originY = 0;

    int X(int twips) const;
    int Y(int twips) const;
    // A mapping at a resolution (dots per inch), the sheet's corner at origin.
    static DeviceMapping ForDpi(int dpiX, int dpiY, int originX = 0, int originY = 0, double zoom = 1.0);
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
