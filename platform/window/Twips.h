#pragma once
// Twips (1/1440 inch) and device dots.  Every length of the programs is
// written in twips and becomes dots here, in one function with one rounding
// (to the nearest dot, halves away from zero), at the resolution of the
// device it lands on: a window's screen, a printer, the preview's zoom.
#include <windows.h>

namespace arc {

// A length in twips as dots of a device of the given dots per inch, and back.
int TwipsToPixels(double twips, double dotsPerInch);
int PixelsToTwips(double pixels, double dotsPerInch);

// A place within a parent, in twips.
struct Place {
    int left = 0, top = 0, width = 0, height = 0;
};

// A device's resolution across and down, in dots per inch.
struct TwipsScale {
    double dpiX = 96, dpiY = 96;

    // The resolution a window is drawn at (its screen's), or a device context's.
    static TwipsScale Of(HWND window);
    static TwipsScale Of(HDC device);
    bool Valid() const { return dpiX > 0 && dpiY > 0; }
    TwipsScale Zoomed(double factor) const { return {dpiX * factor, dpiY * factor}; }

    int X(double twips) const { return TwipsToPixels(twips, dpiX); }
    int Y(double twips) const { return TwipsToPixels(twips, dpiY); }
    int TwipsX(double dots) const { return PixelsToTwips(dots, dpiX); }
    int TwipsY(double dots) const { return PixelsToTwips(dots, dpiY); }
    // The place as a rectangle of dots; its edges, not its size, are rounded.
    RECT Rect(const Place& twips) const;
    // The height CreateFont wants for a size in points (negative: the character's height).
    int FontHeight(double points) const { return -Y(points * 20); }
};

}  // namespace arc
