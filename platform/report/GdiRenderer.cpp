#include "GdiRenderer.h"

#include "TextMetrics.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace arc::report {
namespace {

int CALLBACK FoundFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool SystemHasFace(const std::wstring& face) {
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    bool found = false;
    EnumFontFamiliesExW(WindowDC(nullptr).Get(), &lf, FoundFace, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

// A filled rectangle at least one device dot each way, so that a thin bar
// never vanishes at a small zoom.
void DrawFill(HDC dc, const PageItem& item, const DeviceMapping& map) {
    if (item.width <= 0 || item.height <= 0) return;
    RECT box{map.X(item.left), map.Y(item.top), map.X(item.left + item.width), map.Y(item.top + item.height)};
    box.right = std::max(box.right, box.left + 1);
    box.bottom = std::max(box.bottom, box.top + 1);
    Brush fill(CreateSolidBrush(item.back));
    FillRect(dc, &box, fill.Get());
}

void DrawPolyline(HDC dc, const PageItem& item, const DeviceMapping& map) {
    if (item.points.size() < 2) return;
    std::vector<POINT> device;
    device.reserve(item.points.size());
    for (const POINT& p : item.points) device.push_back(POINT{map.X(p.x), map.Y(p.y)});
    Pen pen(CreatePen(PS_SOLID, std::max(1, map.scale.X(item.lineWidth)), item.fore));
    SelectIn selected(dc, pen.Get());
    Polyline(dc, device.data(), static_cast<int>(device.size()));
}

}  // namespace

std::wstring GdiRenderer::DeviceFace(const std::wstring& face) {
    if (SystemHasFace(face)) return face;
    std::wstring alternative = IsNarrow(TextStyle{face}) ? L"Liberation Sans Narrow" : L"Liberation Sans";
    if (face.rfind(L"Arial", 0) == 0 && SystemHasFace(alternative)) return alternative;
    return face;
}

HFONT GdiRenderer::FontFor(const TextStyle& style, int height) {
    auto key = std::make_tuple(style.face, style.bold, style.italic, height);
    auto it = fonts_.find(key);
    if (it != fonts_.end()) return it->second.Get();
    auto face = faces_.find(style.face);
    if (face == faces_.end()) face = faces_.emplace(style.face, DeviceFace(style.face)).first;
    LOGFONTW lf{};
    lf.lfHeight = -height;  // the em, as a character height
    lf.lfWeight = style.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = style.italic ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_TT_PRECIS;
    lf.lfQuality = ANTIALIASED_QUALITY;
    lstrcpynW(lf.lfFaceName, face->second.c_str(), LF_FACESIZE);
    HFONT font = CreateFontIndirectW(&lf);
    fonts_.emplace(key, Font(font));
    return font;
}

void GdiRenderer::Draw(HDC dc, const PageContent& page, const DeviceMapping& map) {
    int saved = SaveDC(dc);
    SetBkMode(dc, TRANSPARENT);
    SetMapMode(dc, MM_TEXT);
    // Rules and frames are at least one device dot wide.
    int penWidth = std::max(1, map.scale.X(15));
    Pen pen(CreatePen(PS_SOLID, penWidth, RGB(0, 0, 0)));
    auto boxOf = [&map](const PageItem& item) {
        return RECT{map.X(item.left), map.Y(item.top), map.X(item.left + item.width), map.Y(item.top + item.height)};
    };
    // Every background first.  Below 100 % a twip-exact gap between a rule
    // and the boxes under it (a detail row's line and the next row's fields)
    // can round to no dot at all: painted in turn, the boxes would cover the
    // rule and leave only its pieces between them.
    for (const PageItem& item : page.items) {
        if (item.kind != PageItem::Kind::Text || !item.opaque) continue;
        const RECT box = boxOf(item);
        Brush back(CreateSolidBrush(item.back));
        FillRect(dc, &box, back.Get());
    }
    for (const PageItem& item : page.items) {
        RECT box = boxOf(item);
        switch (item.kind) {
            case PageItem::Kind::Line: {
                SelectIn p(dc, pen.Get());
                MoveToEx(dc, box.left, box.top, nullptr);
                LineTo(dc, box.right, box.bottom);
                break;
            }
            case PageItem::Kind::Rectangle: {
                SelectIn p(dc, pen.Get());
                SelectIn b(dc, GetStockObject(NULL_BRUSH));
                Rectangle(dc, box.left, box.top, box.right, box.bottom);
                break;
            }
            case PageItem::Kind::Fill:
                DrawFill(dc, item, map);
                break;
            case PageItem::Kind::Polyline:
                DrawPolyline(dc, item, map);
                break;
            case PageItem::Kind::Text: {
                if (item.frame) {
                    SelectIn p(dc, pen.Get());
                    SelectIn b(dc, GetStockObject(NULL_BRUSH));
                    Rectangle(dc, box.left, box.top, box.right, box.bottom);
                }
                int height = std::max(1, map.scale.Y(item.font.points * 20));
                SelectIn f(dc, FontFor(item.font, height));
                SetTextColor(dc, item.fore);
                UINT align = TA_BASELINE | TA_NOUPDATECP |
                             (item.align == Align::Right ? TA_RIGHT : item.align == Align::Center ? TA_CENTER : TA_LEFT);
                SetTextAlign(dc, align);
                RECT clip{box.left, box.top, box.right, map.Y(item.clipBottom)};
                for (const TextLine& line : item.lines) {
                    if (line.text.empty()) continue;
                    ExtTextOutW(dc, map.X(line.x), map.Y(line.baseline), ETO_CLIPPED, &clip, line.text.c_str(),
                                static_cast<UINT>(line.text.size()), nullptr);
                }
                break;
            }
        }
    }
    RestoreDC(dc, saved);
}

}  // namespace arc::report
