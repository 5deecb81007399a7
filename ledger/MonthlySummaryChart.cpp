#include "MonthlySummaryChart.h"

#include "AmountColours.h"
#include "ReportStyle.h"
#include "platform/report/ChartAxis.h"
#include "platform/report/TextMetrics.h"
#include "platform/report/ValueFormat.h"

#include <algorithm>
#include <cmath>

namespace arc {
namespace {

using report::Align;
using report::ControlKind;
using report::ReportControl;
using report::TextStyle;
using report::ValueAxis;

const TextStyle kAxisFont{L"Arial", 8};
const TextStyle kLegendFont{L"Arial", 9};
constexpr COLORREF kGridColour = RGB(200, 200, 200);
constexpr COLORREF kAxisColour = RGB(0, 0, 0);
constexpr COLORREF kFundColour = RGB(0, 0, 192);

// Twips.
constexpr int kAxisLabelWidth = 1300;  // the amounts left of the plots
constexpr int kPlotLeft = 1400;
constexpr int kPlotRightGap = 100;
constexpr int kLegendHeight = 240;
constexpr int kBarsHeight = 2400;
constexpr int kLabelRow = 200;
constexpr int kFundHeight = 1400;
constexpr int kLabelSpace = 480;   // what a month or a year under the axis needs
constexpr int kMaxBarWidth = 500;
constexpr int kMarker = 70;        // the square on each point of the fund
constexpr int kFundLineWidth = 30;

ReportControl Text(const wchar_t* name, int left, int top, int width, const std::wstring& caption, Align align,
                   const TextStyle& font) {
    return ReportControl{.name = name, .kind = ControlKind::Label, .left = left, .top = top, .width = width,
                         .height = report::LineHeight(font), .caption = caption, .font = font, .align = align};
}

ReportControl Box(const wchar_t* name, int left, int top, int width, int height, COLORREF colour) {
    return ReportControl{.name = name, .kind = ControlKind::Fill, .left = left, .top = top, .width = width,
                         .height = height, .back = colour};
}

ReportControl Rule(const wchar_t* name, int left, int right, int y, COLORREF colour, int lineWidth = 15) {
    return ReportControl{.name = name, .kind = ControlKind::Polyline, .left = left, .top = y, .width = right - left,
                         .height = 0, .fore = colour, .points = {POINT{0, 0}, POINT{right - left, 0}},
                         .lineWidth = lineWidth};
}

// An axis's grid lines across the plot and its amounts at their left.
void AddGrid(std::vector<ReportControl>& out, const ValueAxis& axis, int bottom, int top, int right,
             const wchar_t* gridName, const wchar_t* labelName, const Regional& regional) {
    for (double tick : axis.Ticks()) {
        int y = axis.Position(tick, bottom, top);
        out.push_back(Rule(gridName, kPlotLeft, right, y, kGridColour));
        std::wstring amount = report::FormatValue(data::Value::Real(tick), kAmountToTheCent, regional);
        out.push_back(Text(labelName, 0, y - kLabelRow / 2, kAxisLabelWidth, amount, Align::Right, kAxisFont));
    }
}

// How many months apart the labels under the axis go: the least calendar
// step (a month, two, a quarter, half a year, then whole years) of at least
// one period that leaves each label its room.
int LabelStep(int monthsPerPeriod, double slot) {
    const double months = kLabelSpace / slot * monthsPerPeriod;
    for (int step : {1, 2, 3, 6, 12})
        if (step >= monthsPerPeriod && step >= months) return step;
    int years = 1;
    while (years * 12 < months) years = years == 1 ? 2 : years == 2 ? 5 : years * 2;
    return years * 12;
}

// An axis over low..high; one over nothing but zero runs from 0 to 1.
ValueAxis AxisOver(double low, double high, int steps) {
    if (low == high && low == 0) high = 1;
    return report::RoundAxis(low, high, steps);
}

}  // namespace

SummaryChart MonthlySummaryChart(const MonthlySummary& summary, const Regional& regional, int top, int width) {
    SummaryChart chart;
    auto& out = chart.controls;
    const auto& periods = summary.periods;
    const size_t n = std::max<size_t>(1, periods.size());
    const int right = width - kPlotRightGap;
    const double slot = static_cast<double>(right - kPlotLeft) / static_cast<double>(n);
    auto slotLeft = [&](size_t i) { return kPlotLeft + static_cast<int>(std::lround(slot * static_cast<double>(i))); };
    auto centre = [&](size_t i) { return (slotLeft(i) + slotLeft(i + 1)) / 2; };

    // The legend.
    const int legendBox = 150, legendY = top + (kLegendHeight - legendBox) / 2;
    out.push_back(Box(L"LeyendaIngreso", kPlotLeft, legendY, legendBox, legendBox, kIncomeColour));
    out.push_back(Text(L"LeyendaIngreso", kPlotLeft + 210, top, 900, L"Ingreso", Align::Left, kLegendFont));
    out.push_back(Box(L"LeyendaEgreso", kPlotLeft + 1200, legendY, legendBox, legendBox, kExpenseColour));
    out.push_back(Text(L"LeyendaEgreso", kPlotLeft + 1410, top, 900, L"Egreso", Align::Left, kLegendFont));
    out.push_back(Rule(L"LeyendaFondo", kPlotLeft + 2400, kPlotLeft + 2700, top + kLegendHeight / 2, kFundColour,
                       kFundLineWidth));
    out.push_back(Text(L"LeyendaFondo", kPlotLeft + 2800, top, 4000,
                       summary.byQuarter ? L"Fondo al cierre del trimestre" : L"Fondo al cierre del mes",
                       Align::Left, kLegendFont));

    // Income and expense side by side in each period's slot, over zero.
    const int barsTop = top + kLegendHeight + 240, barsBottom = barsTop + kBarsHeight;
    double low = 0, high = 0;
    for (const auto& p : periods) {
        low = std::min({low, p.income, p.expense});
        high = std::max({high, p.income, p.expense});
    }
    const ValueAxis amounts = AxisOver(low, high, 4);
    AddGrid(out, amounts, barsBottom, barsTop, right, L"RejillaImportes", L"EjeImportes", regional);
    const int zero = amounts.Position(0, barsBottom, barsTop);
    const int barWidth = std::clamp(static_cast<int>(slot * 0.35), 1, kMaxBarWidth);
    auto bar = [&](const wchar_t* name, int left, double amount, COLORREF colour) {
        int y = amounts.Position(amount, barsBottom, barsTop);
        if (y != zero) out.push_back(Box(name, left, std::min(y, zero), barWidth, std::abs(y - zero), colour));
    };
    for (size_t i = 0; i < periods.size(); ++i) {
        bar(L"BarraIngreso", centre(i) - barWidth, periods[i].income, kIncomeColour);
        bar(L"BarraEgreso", centre(i), periods[i].expense, kExpenseColour);
    }
    out.push_back(Rule(L"EjeCero", kPlotLeft, right, zero, kAxisColour));

    // The months (or quarters) and years under the bars, every so many
    // months as fit side by side, on the calendar's own steps: a year's
    // months or quarters, or whole years with only their number.
    const int monthsTop = barsBottom + 60, yearsTop = monthsTop + kLabelRow;
    const int step = LabelStep(summary.byQuarter ? 3 : 1, slot);
    const int labelWidth = std::min(static_cast<int>(slot * step / (summary.byQuarter ? 3 : 1)), 1200);
    int lastYear = -1;
    for (size_t i = 0; i < periods.size(); ++i) {
        const MonthNumber first = periods[i].first;
        const int year = YearOf(first), index = MonthIn(first) - 1;
        if (step < 12 ? index % step != 0 : index != 0 || year % (step / 12) != 0) continue;
        const int left = centre(i) - labelWidth / 2;
        if (step < 12) {
            std::wstring name = summary.byQuarter ? L"T" + std::to_wstring(index / 3 + 1)
                                                  : std::wstring(MonthAbbreviation(index + 1));
            out.push_back(Text(L"EjeMes", left, monthsTop, labelWidth, name, Align::Center, kAxisFont));
        }
        if (year != lastYear) {
            lastYear = year;
            out.push_back(Text(L"EjeAño", left, yearsTop, labelWidth, std::to_wstring(year), Align::Center,
                               kAxisFont));
        }
    }

    // The fund at each period's end, a point over the period's slot.
    const int fundTop = yearsTop + kLabelRow + 240, fundBottom = fundTop + kFundHeight;
    double fundLow = periods.empty() ? 0 : periods[0].fund, fundHigh = fundLow;
    for (const auto& p : periods) {
        fundLow = std::min(fundLow, p.fund);
        fundHigh = std::max(fundHigh, p.fund);
    }
    const ValueAxis funds = AxisOver(fundLow, fundHigh, 3);
    AddGrid(out, funds, fundBottom, fundTop, right, L"RejillaFondo", L"EjeFondo", regional);
    ReportControl line{.name = L"LineaFondo", .kind = ControlKind::Polyline, .left = kPlotLeft, .top = fundTop,
                       .width = right - kPlotLeft, .height = kFundHeight, .fore = kFundColour,
                       .lineWidth = kFundLineWidth};
    for (size_t i = 0; i < periods.size(); ++i)
        line.points.push_back(POINT{centre(i) - kPlotLeft, funds.Position(periods[i].fund, fundBottom, fundTop) - fundTop});
    out.push_back(line);
    if (slot >= 4 * kMarker) {
        for (const POINT& p : line.points)
            out.push_back(Box(L"PuntoFondo", kPlotLeft + p.x - kMarker / 2, fundTop + p.y - kMarker / 2, kMarker,
                              kMarker, kFundColour));
    }
    chart.height = fundBottom + 360 - top;
    return chart;
}

}  // namespace arc
