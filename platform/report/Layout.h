#pragma once
// A report laid out on pages.  Paginating decides which sections go on
// which page and where (the report header once at the start, the page header
// at the top of every page, one detail section per record, never split, the
// report footers once each at the end, in their order and never split, the
// page footer at the foot of every page);
// a page's content, every control with its place on the sheet, its lines
// of text and its style, is built only when the page is asked for, so a
// long report paginates quickly and a page draws without the others.
#include "DataSource.h"
#include "PageSetup.h"
#include "ReportModel.h"
#include "platform/runtime/Regional.h"

#include <memory>
#include <string>
#include <vector>

namespace arc::report {

// Room kept between a text and the left and right sides of a framed box.
constexpr int kTextInset = 30;

// One line of text: x is the point the alignment refers to (the left edge,
// the centre or the right edge), baseline its baseline, both in twips on
// the sheet.
struct TextLine {
    std::wstring text;
    int x = 0;
    int baseline = 0;
};

struct PageItem {
    enum class Kind { Text, Line, Rectangle, Fill, Polyline };
    Kind kind = Kind::Text;
    std::wstring name;                    // the control's name
    int left = 0, top = 0, width = 0, height = 0;  // twips on the sheet
    // Text
    std::vector<TextLine> lines;
    TextStyle font;
    COLORREF fore = RGB(0, 0, 0);
    Align align = Align::Left;
    bool opaque = false;
    COLORREF back = RGB(255, 255, 255);
    bool frame = false;
    int clipBottom = 0;  // text is cut at the box's sides and here
    // Polyline: its points in twips on the sheet, and its width
    std::vector<POINT> points;
    int lineWidth = 15;

    std::wstring Text() const;  // the lines joined with CR LF
};

struct PageContent {
    std::vector<PageItem> items;
    // The first item of a control, or nullptr; all items of a control.
    const PageItem* Find(const std::wstring& name) const;
    std::vector<const PageItem*> FindAll(const std::wstring& name) const;
};

// A section placed on a page: which section, for which record, where.
struct Band {
    int section = 0;  // index into the model's sections
    size_t row = 0;
    int top = 0;      // twips on the sheet
    int height = 0;
};

class Layout {
public:
    // Paginates.  Raises RuntimeError 3265 when a control is bound to a field
    // the data source does not have.
    Layout(ReportModel model, std::shared_ptr<const DataSource> source, std::wstring title, PageSetup page,
           Regional regional);

    size_t PageCount() const { return pageStart_.size(); }
    const PageSetup& Page() const { return page_; }
    const ReportModel& Model() const { return model_; }
    const std::wstring& Title() const { return title_; }
    const std::shared_ptr<const DataSource>& Source() const { return source_; }
    const Regional& RegionalSettings() const { return regional_; }
    // The same report with the same inputs paginated on another sheet.
    Layout OnSheet(const PageSetup& sheet) const { return Layout(model_, source_, title_, sheet, regional_); }
    std::vector<Band> Bands(size_t page) const;
    // Everything to draw on a page (0-based).
    PageContent Content(size_t page) const;
    // The sum of a Sum control's field over every record.
    double SumOf(const std::wstring& controlName) const;

private:
    struct Arranged {
        int height = 0;
        std::vector<int> top, height_;  // per control, within the section
        std::vector<std::vector<std::wstring>> lines;
    };
    std::wstring ControlText(int section, int control, size_t row, size_t page) const;
    const TextStyle& FontOf(const ReportControl& c) const { return c.font ? *c.font : model_.font; }
    std::vector<std::wstring> Lines(int section, int control, size_t row, size_t page) const;
    bool IsText(const ReportControl& c) const;
    int SectionHeight(int section, size_t row) const;
    Arranged Arrange(int section, size_t row, size_t page) const;
    void Paginate();

    ReportModel model_;
    std::shared_ptr<const DataSource> source_;
    std::wstring title_;
    PageSetup page_;
    Regional regional_;
    std::vector<std::vector<int>> field_;    // [section][control]: bound field or -1
    std::vector<std::vector<double>> sum_;   // [section][control]: sum of a Sum control
    std::vector<std::vector<int>> growers_;  // [section]: visible can-grow text controls
    std::vector<Band> bands_;
    std::vector<size_t> pageStart_;          // first band of every page
};

}  // namespace arc::report
