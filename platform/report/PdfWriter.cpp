#include "PdfWriter.h"

#include "FileBytes.h"
#include "TextMetrics.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace arc::report {
namespace {

// A number of points with at most two decimals, as PDF wants it.
std::string Pt(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", v);
    std::string s = buf;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    if (s == "-0") s = "0";
    return s;
}

// A factor with the precision a page-wide scale needs.
std::string Fixed(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6f", v);
    return buf;
}

std::string Colour(COLORREF c) {
    return Pt(GetRValue(c) / 255.0) + " " + Pt(GetGValue(c) / 255.0) + " " + Pt(GetBValue(c) / 255.0);
}

// A PDF string in WinAnsiEncoding with its delimiters escaped.
std::string PdfString(const std::wstring& text) {
    std::string s = "(";
    for (wchar_t c : text) {
        unsigned char a = ToWinAnsi(c);
        if (a == '(' || a == ')' || a == '\\') s += '\\';
        if (a < 32) a = ' ';
        s += static_cast<char>(a);
    }
    return s + ")";
}

class PageStream {
public:
    explicit PageStream(int sheetHeight) : sheetHeight_(sheetHeight) {}

    double X(int twips) const { return twips / 20.0; }
    double Y(int twips) const { return (sheetHeight_ - twips) / 20.0; }

    void Box(const PageItem& item, const char* op) {
        out_ += Pt(X(item.left)) + " " + Pt(Y(item.top + item.height)) + " " + Pt(item.width / 20.0) + " " +
                Pt(item.height / 20.0) + " re " + op + "\n";
    }

    void Item(const PageItem& item) {
        switch (item.kind) {
            case PageItem::Kind::Line:
                out_ += "0 0 0 RG 0.75 w " + Pt(X(item.left)) + " " + Pt(Y(item.top)) + " m " +
                        Pt(X(item.left + item.width)) + " " + Pt(Y(item.top + item.height)) + " l S\n";
                break;
            case PageItem::Kind::Rectangle:
                out_ += "0 0 0 RG 0.75 w ";
                Box(item, "S");
                break;
            case PageItem::Kind::Fill:
                if (item.width <= 0 || item.height <= 0) break;
                out_ += Colour(item.back) + " rg ";
                Box(item, "f");
                break;
            case PageItem::Kind::Polyline:
                Polyline(item);
                break;
            case PageItem::Kind::Text:
                if (item.opaque) {
                    out_ += Colour(item.back) + " rg ";
                    Box(item, "f");
                }
                if (item.frame) {
                    out_ += "0 0 0 RG 0.75 w ";
                    Box(item, "S");
                }
                Text(item);
                break;
        }
    }

    // Round joins and ends, inside its own graphics state.
    void Polyline(const PageItem& item) {
        if (item.points.size() < 2) return;
        out_ += "q ";
        out_ += Colour(item.fore) + " RG " + Pt(item.lineWidth / 20.0) + " w 1 j 1 J";
        for (size_t i = 0; i < item.points.size(); ++i) {
            out_ += ' ';
            out_ += Pt(X(item.points[i].x)) + " " + Pt(Y(item.points[i].y)) + (i ? " l" : " m");
        }
        out_ += " S Q\n";
    }

    void Text(const PageItem& item) {
        bool any = false;
        for (const auto& line : item.lines) any = any || !line.text.empty();
        if (!any) return;
        // Cut at the box's sides, as the screen does.
        PageItem clip = item;
        clip.height = item.clipBottom - item.top;
        out_ += "q ";
        Box(clip, "W n");
        bool narrow = IsNarrow(item.font);
        out_ += "BT /" + std::string(item.font.bold ? "F2" : "F1") + " " + Pt(item.font.points) + " Tf " +
                Colour(item.fore) + " rg" + (narrow ? " 82 Tz" : "") + "\n";
        for (const auto& line : item.lines) {
            if (line.text.empty()) continue;
            double width = TextWidth(line.text, item.font);
            int x = item.align == Align::Right    ? static_cast<int>(line.x - width)
                    : item.align == Align::Center ? static_cast<int>(line.x - width / 2)
                                                  : line.x;
            out_ += "1 0 0 1 " + Pt(X(x)) + " " + Pt(Y(line.baseline)) + " Tm " + PdfString(line.text) + " Tj\n";
        }
        out_ += "ET Q\n";
    }

    const std::string& Bytes() const { return out_; }

private:
    int sheetHeight_;
    std::string out_;
};

}  // namespace

std::string PdfDocument(const Layout& layout) {
    const PageSetup& sheet = layout.Page();
    size_t pages = layout.PageCount();
    std::string pdf = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<size_t> offsets;
    auto object = [&](const std::string& body) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(offsets.size()) + " 0 obj\n" + body + "\nendobj\n";
    };
    // 1 catalog, 2 page tree, 3 and 4 fonts, then a page and its contents per page.
    auto pageObject = [](size_t i) { return 5 + 2 * i; };
    object("<< /Type /Catalog /Pages 2 0 R >>");
    std::string kids;
    for (size_t i = 0; i < pages; ++i) kids += std::to_string(pageObject(i)) + " 0 R ";
    object("<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages) + " >>");
    object("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>");
    object("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold /Encoding /WinAnsiEncoding >>");
    std::string mediaBox = "[0 0 " + Pt(sheet.PaperWidth() / 20.0) + " " + Pt(sheet.PaperHeight() / 20.0) + "]";
    // A report reduced to fit its paper is drawn at its own size and scaled.
    std::string reduce = sheet.scale == 1.0 ? "" : "q " + Fixed(sheet.scale) + " 0 0 " + Fixed(sheet.scale) + " 0 0 cm\n";
    for (size_t i = 0; i < pages; ++i) {
        object("<< /Type /Page /Parent 2 0 R /MediaBox " + mediaBox +
               " /Resources << /Font << /F1 3 0 R /F2 4 0 R >> >> /Contents " + std::to_string(pageObject(i) + 1) +
               " 0 R >>");
        PageStream stream(sheet.height);
        for (const auto& item : layout.Content(i).items) stream.Item(item);
        std::string content = reduce + stream.Bytes() + (reduce.empty() ? "" : "Q\n");
        object("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "endstream");
    }
    size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(offsets.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t off : offsets) {
        char line[24];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", off);
        pdf += line;
    }
    pdf += "trailer\n<< /Size " + std::to_string(offsets.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

void WritePdf(const Layout& layout, const std::wstring& path) { WriteFileBytes(path, PdfDocument(layout)); }

}  // namespace arc::report
