#include "Gdi.h"

namespace arc {

Font MakeFont(const FontDesc& desc, const TwipsScale& scale) {
    LOGFONTW lf{};
    lf.lfHeight = scale.FontHeight(desc.points);
    lf.lfWeight = desc.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = desc.italic ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfOutPrecision = OUT_TT_PRECIS;
    lstrcpynW(lf.lfFaceName, desc.face.c_str(), LF_FACESIZE);
    return Font(CreateFontIndirectW(&lf));
}

}  // namespace arc
