#include "Twips.h"

#include "Gdi.h"

#include <cmath>

namespace arc {

int TwipsToPixels(double twips, double dotsPerInch) { return static_cast<int>(std::lround(twips * dotsPerInch / 1440)); }
int PixelsToTwips(double pixels, double dotsPerInch) { return static_cast<int>(std::lround(pixels * 1440 / dotsPerInch)); }

TwipsScale TwipsScale::Of(HDC device) {
    return {static_cast<double>(GetDeviceCaps(device, LOGPIXELSX)), static_cast<double>(GetDeviceCaps(device, LOGPIXELSY))};
}

TwipsScale TwipsScale::Of(HWND window) {
    const TwipsScale s = Of(WindowDC(window).Get());
    return s.Valid() ? s : TwipsScale{};
}

RECT TwipsScale::Rect(const Place& p) const { return {X(p.left), Y(p.top), X(p.left + p.width), Y(p.top + p.height)}; }

}  // namespace arc
