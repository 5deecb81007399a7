#pragma once
// The look the ledger's reports share: the title in Arial 12 at the top,
// and column headings in bold Arial on a light-blue background with a frame.
#include "platform/report/ReportModel.h"

namespace arc {

inline constexpr COLORREF kReportHeadingBack = RGB(197, 223, 245);
// Amounts to the cent, grouped, with no decimal separator left alone and
// zero shown as "0": "1.234,5", "0".
inline constexpr wchar_t kAmountToTheCent[] = L"#,##0.##";

// A heading label of the given width on a page-header section's first line.
inline report::ReportControl ReportHeading(const wchar_t* name, int left, int width, const wchar_t* caption,
                                           report::Align align) {
    return report::ReportControl{.name = name, .kind = report::ControlKind::Label, .left = left, .top = 0,
                                 .width = width, .height = 240, .caption = caption,
                                 .font = report::TextStyle{L"Arial", 11.25, true}, .align = align, .opaque = true,
                                 .back = kReportHeadingBack, .frame = true};
}

// The title label across the report's body: the report's title ("%i"),
// growing to as many lines as the title has.
inline report::ReportControl ReportTitle(const wchar_t* name, int width) {
    return report::ReportControl{.name = name, .kind = report::ControlKind::Label, .left = 0, .top = 0,
                                 .width = width, .height = 240, .caption = L"%i",
                                 .font = report::TextStyle{L"Arial", 12}, .canGrow = true};
}

}  // namespace arc
