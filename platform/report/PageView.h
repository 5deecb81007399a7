#pragma once
// The part of the preview that shows one whole page of a report on a grey
// background, at a zoom (the whole page, the page's width, or a percentage
// of the paper's real size from 25% to 400%), with scroll bars when the page
// is larger than the view.  It paints
// through a bitmap kept between paints and builds a page's content once
// when the page is shown.
#include "GdiRenderer.h"
#include "Layout.h"
#include "platform/window/Window.h"

#include <optional>

namespace arc::report {

enum class Zoom { FitPage, FitWidth, Actual, Percent };

constexpr double kMinZoomPercent = 25, kMaxZoomPercent = 400;

class PageView : public Window {
public:
    explicit PageView(const Layout& layout) : layout_(layout) {}
    ~PageView() override;

    bool Create(HWND parent);

    size_t Page() const { return page_; }
    void ShowPage(size_t page);
    Zoom GetZoom() const { return zoom_; }
    void SetZoom(Zoom zoom);
    // The zoom as a percentage of the paper's real size.
    double Percent() const;
    // Zooms to a percentage (kept within 25%-400%), keeping the point of the
    // sheet under the anchor (view coordinates) where it is.
    void SetPercent(double percent, POINT anchor);
    // Scrolls by device pixels; returns false when it could not move at all.
    bool ScrollBy(int dx, int dy);
    POINT ScrollPosition() const { return POINT{scrollX_, scrollY_}; }
    // Device pixels per twip at the current zoom and view size.
    double Scale() const;
    // Where the sheet's corner is drawn in the view.
    POINT SheetOrigin() const;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc);
    void UpdateScrollBars();
    SIZE SheetPixels() const;
    TwipsScale ViewScale() const;  // the sheet's twips as the view's pixels
    double ActualScale() const;
    void OnScroll(int bar, int code);

    const Layout& layout_;
    TwipsScale screen_;
    size_t page_ = 0;
    Zoom zoom_ = Zoom::FitPage;
    double percent_ = 100;  // Zoom::Percent
    int scrollX_ = 0, scrollY_ = 0;
    bool updatingBars_ = false;
    std::optional<PageContent> content_;
    GdiRenderer renderer_;
    // Back buffer, reused while the view keeps its size.
    HDC memDc_ = nullptr;
    HBITMAP memBitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    SIZE memSize_{0, 0};
};

}  // namespace arc::report
