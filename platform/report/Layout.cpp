#include "Layout.h"

#include "TextMetrics.h"
#include "ValueFormat.h"
#include "platform/runtime/Error.h"

#include <algorithm>

namespace arc::report {
namespace {

// A caption with its placeholders filled in one pass: "%i" the title, "%p"
// the page number, "%P" the page count.  What is filled in is never read
// again, so a title holding "%p" prints as written.
std::wstring FillPlaceholders(const std::wstring& caption, const std::wstring& title, size_t page, size_t pages) {
    std::wstring out;
    for (size_t i = 0; i < caption.size(); ++i) {
        wchar_t next = i + 1 < caption.size() ? caption[i + 1] : 0;
        if (caption[i] == L'%' && (next == L'i' || next == L'p' || next == L'P')) {
            out += next == L'i' ? title : std::to_wstring(next == L'p' ? page + 1 : pages);
            ++i;
        } else {
            out += caption[i];
        }
    }
    return out;
}

// Lines of a text box: how many fit its height (at least one), and the
// height it needs when it may grow.
int FittingLines(int height, int lineHeight) { return std::max(1, height / std::max(1, lineHeight)); }

}  // namespace

std::wstring PageItem::Text() const {
    std::wstring s;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) s += L"\r\n";
        s += lines[i].text;
    }
    return s;
}

const PageItem* PageContent::Find(const std::wstring& name) const {
    for (const auto& item : items)
        if (item.name == name) return &item;
    return nullptr;
}

std::vector<const PageItem*> PageContent::FindAll(const std::wstring& name) const {
    std::vector<const PageItem*> out;
    for (const auto& item : items)
        if (item.name == name) out.push_back(&item);
    return out;
}

Layout::Layout(ReportModel model, std::shared_ptr<const DataSource> source, std::wstring title, PageSetup page,
               Regional regional)
    : model_(std::move(model)), source_(std::move(source)), title_(std::move(title)), page_(page),
      regional_(std::move(regional)) {
    size_t rows = source_ ? source_->RowCount() : 0;
    for (size_t s = 0; s < model_.sections.size(); ++s) {
        const auto& section = model_.sections[s];
        field_.emplace_back(section.controls.size(), -1);
        sum_.emplace_back(section.controls.size(), 0.0);
        growers_.emplace_back();
        for (size_t c = 0; c < section.controls.size(); ++c) {
            const auto& control = section.controls[c];
            if (control.kind == ControlKind::TextField || control.kind == ControlKind::Sum ||
                control.kind == ControlKind::Last) {
                int f = source_ ? source_->FieldIndex(control.field) : -1;
                if (f < 0)
                    throw RuntimeError(kErrItemNotFound, ErrorDescription(kErrItemNotFound) + L" (" + control.name + L": " +
                                                             control.field + L")");
                field_[s][c] = f;
                if (control.kind == ControlKind::Sum) {
                    double total = 0;
                    for (size_t r = 0; r < rows; ++r) {
                        const auto& v = source_->Value(r, f);
                        if (!v.IsNull()) total += v.AsDouble();
                    }
                    sum_[s][c] = total;
                }
            }
            if (control.visible && control.canGrow && IsText(control)) growers_[s].push_back(static_cast<int>(c));
        }
    }
    Paginate();
}

bool Layout::IsText(const ReportControl& c) const {
    return c.kind == ControlKind::Label || c.kind == ControlKind::TextField || c.kind == ControlKind::Sum ||
           c.kind == ControlKind::Last;
}

std::wstring Layout::ControlText(int section, int control, size_t row, size_t page) const {
    const auto& c = model_.sections[section].controls[control];
    switch (c.kind) {
        case ControlKind::Label:
            return FillPlaceholders(c.caption, title_, page, PageCount());
        case ControlKind::TextField:
            if (row >= source_->RowCount()) return L"";
            return FormatValue(source_->Value(row, field_[section][control]), c.format, regional_);
        case ControlKind::Sum:
            return FormatValue(data::Value::Real(sum_[section][control]), c.format, regional_);
        case ControlKind::Last: {
            size_t rows = source_->RowCount();
            return rows ? FormatValue(source_->Value(rows - 1, field_[section][control]), c.format, regional_) : L"";
        }
        default:
            return L"";
    }
}

// The control's text broken into the lines its box shows.  Only a control
// that grows breaks a word too long for its box; others cut it at the edge.
std::vector<std::wstring> Layout::Lines(int section, int control, size_t row, size_t page) const {
    const auto& c = model_.sections[section].controls[control];
    int inset = c.frame ? kTextInset : 0;
    // Screen, printer and PDF show the same letters: those of the Windows
    // ANSI set, with "?" for any other.
    return WrapLines(InWinAnsi(ControlText(section, control, row, page)), c.width - 2 * inset, FontOf(c),
                     c.canGrow);
}

int Layout::SectionHeight(int section, size_t row) const {
    const auto& s = model_.sections[section];
    int growth = 0;
    for (int c : growers_[section]) {
        const auto& control = s.controls[c];
        const TextStyle& font = FontOf(control);
        int pitch = LineHeight(font);
        // Page numbers are not known yet: placeholders are measured as on the first page.
        int n = static_cast<int>(Lines(section, c, row, 0).size());
        if (n > FittingLines(control.height, pitch)) growth = std::max(growth, n * pitch - control.height);
    }
    return s.height + growth;
}

Layout::Arranged Layout::Arrange(int section, size_t row, size_t page) const {
    const auto& s = model_.sections[section];
    size_t n = s.controls.size();
    Arranged a;
    a.top.resize(n);
    a.height_.resize(n);
    a.lines.resize(n);
    std::vector<int> growth(n, 0);
    for (size_t c = 0; c < n; ++c) {
        const auto& control = s.controls[c];
        a.top[c] = control.top;
        a.height_[c] = control.height;
        if (!control.visible || !IsText(control)) continue;
        const TextStyle& font = FontOf(control);
        int pitch = LineHeight(font);
        a.lines[c] = Lines(section, static_cast<int>(c), row, page);
        int fit = FittingLines(control.height, pitch);
        int count = static_cast<int>(a.lines[c].size());
        if (count > fit) {
            if (control.canGrow) growth[c] = count * pitch - control.height;
            else a.lines[c].resize(static_cast<size_t>(fit));
        }
    }
    // A control that grows pushes down the controls below it.
    int maxGrowth = 0;
    for (size_t g = 0; g < n; ++g) {
        if (growth[g] <= 0) continue;
        maxGrowth = std::max(maxGrowth, growth[g]);
        const auto& grower = s.controls[g];
        for (size_t c = 0; c < n; ++c)
            if (c != g && s.controls[c].top >= grower.top + grower.height)
                a.top[c] = std::max(a.top[c], s.controls[c].top + growth[g]);
        a.height_[g] = grower.height + growth[g];
    }
    a.height = s.height + maxGrowth;
    return a;
}

void Layout::Paginate() {
    auto indexOf = [&](SectionKind kind) {
        for (size_t s = 0; s < model_.sections.size(); ++s)
            if (model_.sections[s].kind == kind) return static_cast<int>(s);
        return -1;
    };
    int reportHeader = indexOf(SectionKind::ReportHeader), pageHeader = indexOf(SectionKind::PageHeader);
    int detail = indexOf(SectionKind::Detail), pageFooter = indexOf(SectionKind::PageFooter);
    size_t rows = source_ ? source_->RowCount() : 0;

    int footerHeight = 0;
    if (pageFooter >= 0) footerHeight = model_.sections[pageFooter].height;
    const int limit = page_.height - page_.bottom - footerHeight;
    int y = 0;
    bool bodyOnPage = false;  // a detail or the report footer is on the page

    auto place = [&](int section, size_t row, int height) {
        bands_.push_back(Band{section, row, y, height});
        y += height;
    };
    auto startPage = [&](size_t row) {
        pageStart_.push_back(bands_.size());
        y = page_.top;
        bodyOnPage = false;
        if (pageStart_.size() == 1 && reportHeader >= 0) place(reportHeader, 0, SectionHeight(reportHeader, 0));
        if (pageHeader >= 0) place(pageHeader, row, SectionHeight(pageHeader, row));
    };
    auto endPage = [&](size_t row) {
        if (pageFooter >= 0 && (footerHeight > 0 || !model_.sections[pageFooter].controls.empty())) {
            y = limit;
            place(pageFooter, row, footerHeight);
        }
    };
    // A section that does not fit goes to the next page, unless the page
    // holds nothing but its headers (a section taller than a page is then
    // printed anyway, cut at the foot, rather than looping).
    auto fit = [&](int height, size_t row) {
        if (y + height > limit && bodyOnPage) {
            endPage(row);
            startPage(row);
        }
    };

    startPage(0);
    if (detail >= 0) {
        for (size_t r = 0; r < rows; ++r) {
            int h = SectionHeight(detail, r);
            fit(h, r);
            place(detail, r, h);
            bodyOnPage = true;
        }
    }
    // The report footers, in their order, each whole.
    size_t last = rows ? rows - 1 : 0;
    for (size_t s = 0; s < model_.sections.size(); ++s) {
        if (model_.sections[s].kind != SectionKind::ReportFooter) continue;
        int h = SectionHeight(static_cast<int>(s), last);
        fit(h, last);
        place(static_cast<int>(s), last, h);
        bodyOnPage = true;
    }
    endPage(last);
}

std::vector<Band> Layout::Bands(size_t page) const {
    size_t from = pageStart_.at(page);
    size_t to = page + 1 < pageStart_.size() ? pageStart_[page + 1] : bands_.size();
    return std::vector<Band>(bands_.begin() + static_cast<std::ptrdiff_t>(from),
                             bands_.begin() + static_cast<std::ptrdiff_t>(to));
}

PageContent Layout::Content(size_t page) const {
    PageContent content;
    for (const Band& band : Bands(page)) {
        const auto& s = model_.sections[band.section];
        Arranged a = Arrange(band.section, band.row, page);
        for (size_t c = 0; c < s.controls.size(); ++c) {
            const auto& control = s.controls[c];
            if (!control.visible) continue;
            PageItem item;
            item.name = control.name;
            item.left = page_.left + control.left;
            item.top = band.top + a.top[c];
            item.width = control.width;
            item.height = a.height_[c];
            switch (control.kind) {
                case ControlKind::Line: item.kind = PageItem::Kind::Line; break;
                case ControlKind::Rectangle: item.kind = PageItem::Kind::Rectangle; break;
                case ControlKind::Fill: item.kind = PageItem::Kind::Fill; break;
                case ControlKind::Polyline: item.kind = PageItem::Kind::Polyline; break;
                default: item.kind = PageItem::Kind::Text; break;
            }
            item.lineWidth = control.lineWidth;
            for (const POINT& p : control.points) item.points.push_back(POINT{item.left + p.x, item.top + p.y});
            item.fore = control.fore;
            item.frame = control.frame;
            item.opaque = control.opaque;
            item.back = control.back;
            if (item.kind == PageItem::Kind::Text) {
                item.font = FontOf(control);
                item.align = control.align;
                int pitch = LineHeight(item.font), ascent = Ascent(item.font);
                int inset = control.frame ? kTextInset : 0;
                int x = control.align == Align::Left    ? item.left + inset
                        : control.align == Align::Right ? item.left + item.width - inset
                                                        : item.left + item.width / 2;
                int lineTop = item.top;
                for (auto& text : a.lines[c]) {
                    item.lines.push_back(TextLine{std::move(text), x, lineTop + ascent});
                    lineTop += pitch;
                }
                item.clipBottom = std::max(item.top + item.height, lineTop);
            }
            content.items.push_back(std::move(item));
        }
    }
    return content;
}

double Layout::SumOf(const std::wstring& controlName) const {
    for (size_t s = 0; s < model_.sections.size(); ++s)
        for (size_t c = 0; c < model_.sections[s].controls.size(); ++c)
            if (model_.sections[s].controls[c].name == controlName) return sum_[s][c];
    throw RuntimeError(kErrItemNotFound);
}

}  // namespace arc::report
