#include "Gdi.h"

#include "Twips.h"

namespace arc {

Font MakeFont(const FontSpec& spec, int dpiY) {
    LOGFONTW lf{};
    lf.lfHeight = PointsToFontHeight(spec.points, dpiY);
    lf.lfWeight = spec.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = spec.italic ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfOutPrecision = OUT_TT_PRECIS;
    lstrcpynW(lf.lfFaceName, spec.face.c_str(), LF_FACESIZE);
    return Font(CreateFontIndirectW(&lf));
}

}  // namespace arc
