#pragma once
// Twips (1/1440 inch) to pixels and back, from a DPI.  Every layout in the
// programs is written in twips and converted here, nowhere else.
#include <windows.h>

namespace arc {

inline int TwipsToPixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }
inline int PixelsToTwips(int pixels, int dpi) { return MulDiv(pixels, 1440, dpi); }

// The screen's logical DPI (horizontal, vertical).
int ScreenDpiX();
int ScreenDpiY();

// A rectangle given in twips (left, top, width, height) as pixels.
RECT TwipsRect(int left, int top, int width, int height, int dpiX, int dpiY);

// Points to the font height in pixels that CreateFont wants (negative: character height).
int PointsToFontHeight(double points, int dpiY);

}  // namespace arc
