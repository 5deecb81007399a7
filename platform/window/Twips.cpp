#include "Twips.h"

#include <cmath>

namespace arc {
namespace {
int DeviceCaps(int index) {
    HDC dc = GetDC(nullptr);
    int v = GetDeviceCaps(dc, index);
    ReleaseDC(nullptr, dc);
    return v > 0 ? v : 96;
}
}  // namespace

int ScreenDpiX() { return DeviceCaps(LOGPIXELSX); }
int ScreenDpiY() { return DeviceCaps(LOGPIXELSY); }

RECT TwipsRect(int left, int top, int width, int height, int dpiX, int dpiY) {
    RECT r;
    r.left = TwipsToPixels(left, dpiX);
    r.top = TwipsToPixels(top, dpiY);
    r.right = TwipsToPixels(left + width, dpiX);
    r.bottom = TwipsToPixels(top + height, dpiY);
    return r;
}

int PointsToFontHeight(double points, int dpiY) {
    return -static_cast<int>(std::lround(points * dpiY / 72.0));
}

}  // namespace arc
