#pragma once
// The description of a banded report: its sections in printing order, each
// with a height and controls placed in twips, and the report's default font.
// A report layout reads like the table of its design; the runtime
// (Layout, GdiRenderer, PdfWriter, PreviewWindow) gives it life.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace arc::report {

enum class Align { Left, Center, Right };

struct TextStyle {
    std::wstring face = L"Arial";
    double points = 8.25;
    bool bold = false;
    bool italic = false;
};

enum class ControlKind {
    Label,      // fixed caption; "%i" stands for the report title, "%p" the page, "%P" the pages
    TextField,  // a field of the current record, in a format
    Sum,        // the sum of a field over every record, in a format
    Line,       // from (left, top) to (left + width, top + height)
    Rectangle,  // a frame, not filled
    Last,       // a field of the last record, in a format (a closing balance)
    Fill,       // a rectangle filled with back, no frame
    Polyline    // segments through points, in fore, lineWidth wide
};

struct ReportControl {
    std::wstring name;
    ControlKind kind = ControlKind::Label;
    int left = 0, top = 0, width = 0, height = 0;  // twips within the section
    std::wstring caption;                         // Label
    std::wstring field;                           // TextField, Sum
    std::wstring format;                          // number or date pattern; empty: the value as it is
    std::optional<TextStyle> font;                // none: the report's default font
    COLORREF fore = RGB(0, 0, 0);
    Align align = Align::Left;
    bool opaque = false;                 // fills its box with back
    COLORREF back = RGB(255, 255, 255);
    bool frame = false;                  // thin solid frame around the box
    bool canGrow = false;                // grows taller to show all its lines
    bool visible = true;
    std::vector<POINT> points;           // Polyline: twips from the control's corner
    int lineWidth = 15;                  // Polyline: twips
};

// A column of the report's spreadsheet copy: its heading, the field it
// takes, how the field is written, and what its cell on the final totals
// line holds (the sum of a field, or a text).
struct ExportColumn {
    enum class Kind {
        Text,    // as it is
        Date,    // YYYY-MM-DD
        Number   // no grouping, the regional decimal separator
    };
    std::wstring heading;
    std::wstring field;
    Kind kind = Kind::Text;
    std::wstring totalOf;    // the field summed on the totals line; empty: lastOf or totalText
    std::wstring totalText;
    std::wstring lastOf;     // the field whose value in the last record the totals line holds
};

enum class SectionKind { ReportHeader, PageHeader, Detail, PageFooter, ReportFooter };

struct ReportSection {
    std::wstring name;
    SectionKind kind = SectionKind::Detail;
    int height = 0;  // twips
    std::vector<ReportControl> controls;
};

struct ReportModel {
    int width = 0;  // body width in twips
    TextStyle font;
    std::vector<ReportSection> sections;
    // The spreadsheet copy's columns, one line per record and a totals line;
    // none: the report offers no spreadsheet copy.
    std::vector<ExportColumn> exportColumns;

    // The section of a kind, or nullptr.
    const ReportSection* Find(SectionKind kind) const {
        for (const auto& s : sections)
            if (s.kind == kind) return &s;
        return nullptr;
    }
};

}  // namespace arc::report
