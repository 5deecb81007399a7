// The runtime's formats as the report shows them, under an English and a
// Spanish locale: "#,###.##" and "#,###" with optional digits, "d-MMM-yy"
// on a "YYYY-MM-DD" text, and "DDDDDD", the system's long date.
#include "platform/report/ValueFormat.h"
#include "platform/runtime/DateValue.h"
#include "platform/runtime/Format.h"

#include <gtest/gtest.h>

namespace arc::report {
namespace {

struct NumberCase {
    double value;
    const wchar_t* pattern;
    const wchar_t* english;
    const wchar_t* spanish;
};

TEST(ReportFormats, NumberPatternsUnderEnglishAndSpanish) {
    const Regional en = RegionalFor(L"en-US"), es = RegionalFor(L"es-ES");
    const NumberCase cases[] = {
        {1500, L"#,###.##", L"1,500.", L"1.500,"},           // no decimals: the separator stays
        {1234567.891, L"#,###.##", L"1,234,567.89", L"1.234.567,89"},
        {12.3, L"#,###.##", L"12.3", L"12,3"},
        {0.125, L"#,###.##", L".13", L",13"},                  // half rounds away from zero
        {999.999, L"#,###.##", L"1,000.", L"1.000,"},
        {0, L"#,###.##", L".", L","},
        {-2500.5, L"#,###.##", L"-2,500.5", L"-2.500,5"},
        {0, L"#,###", L"", L""},                               // a sum of 0 shows no digits
        {1500, L"#,###", L"1,500", L"1.500"},
        {-2500.5, L"#,###", L"-2,501", L"-2.501"},
        {0.4, L"#,###", L"", L""},
        {-0.4, L"#,###", L"", L""},                            // no lone minus sign
        {999, L"#,###", L"999", L"999"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatNumber(c.value, c.pattern, en), c.english) << c.value << " " << c.pattern;
        EXPECT_EQ(FormatNumber(c.value, c.pattern, es), c.spanish) << c.value << " " << c.pattern;
    }
}

TEST(ReportFormats, AReportNumberNeverEndsInALoneSeparator) {
    const Regional en = RegionalFor(L"en-US"), es = RegionalFor(L"es-ES");
    const NumberCase cases[] = {
        {150, L"#,###.##", L"150", L"150"},
        {1200, L"#,###.##", L"1,200", L"1.200"},
        {40.5, L"#,###.##", L"40.5", L"40,5"},
        {1309.5, L"#,###.##", L"1,309.5", L"1.309,5"},
        {0, L"#,###.##", L"", L""},
        {-0.25, L"#,###.##", L"-.25", L"-,25"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatValue(data::Value::Real(c.value), c.pattern, en), c.english) << c.value;
        EXPECT_EQ(FormatValue(data::Value::Real(c.value), c.pattern, es), c.spanish) << c.value;
    }
}

TEST(ReportFormats, ShortMonthDateOnIsoText) {
    const Regional en = RegionalFor(L"en-US"), es = RegionalFor(L"es-ES");
    EXPECT_EQ(FormatValue(data::Value::Text(L"2026-01-05"), L"d-MMM-yy", en), L"5-Jan-26");
    EXPECT_EQ(FormatValue(data::Value::Text(L"2026-12-31"), L"d-MMM-yy", en), L"31-Dec-26");
    EXPECT_EQ(FormatValue(data::Value::Text(L"2009-08-09"), L"d-MMM-yy", en), L"9-Aug-09");
    // Spanish month abbreviations come from the locale's own data.
    std::wstring jan = es.monthAbbrevs[0], dec = es.monthAbbrevs[11];
    ASSERT_EQ(jan.substr(0, 3), L"ene");
    ASSERT_EQ(dec.substr(0, 3), L"dic");
    EXPECT_EQ(FormatValue(data::Value::Text(L"2026-01-05"), L"d-MMM-yy", es), L"5-" + jan + L"-26");
    EXPECT_EQ(FormatValue(data::Value::Text(L"2026-12-31"), L"d-MMM-yy", es), L"31-" + dec + L"-26");
}

TEST(ReportFormats, LongDateFollowsTheLocale) {
    double day = DateSerial(2026, 1, 5);  // a Monday
    EXPECT_EQ(FormatDate(day, L"DDDDDD", RegionalFor(L"en-US")), L"Monday, January 5, 2026");
    EXPECT_EQ(FormatDate(day, L"DDDDDD", RegionalFor(L"es-ES")), L"lunes, 5 de enero de 2026");
    EXPECT_EQ(LongDate(DateSerial(2026, 2, 28), RegionalFor(L"es-ES")), L"sábado, 28 de febrero de 2026");
}

TEST(ReportFormats, ValuesThePatternDoesNotFit) {
    const Regional es = RegionalFor(L"es-ES");
    EXPECT_EQ(FormatValue(data::Value(), L"#,###.##", es), L"");               // NULL shows nothing
    EXPECT_EQ(FormatValue(data::Value(), L"d-MMM-yy", es), L"");
    EXPECT_EQ(FormatValue(data::Value::Text(L"no es fecha"), L"d-MMM-yy", es), L"no es fecha");
    EXPECT_EQ(FormatValue(data::Value::Text(L"abc"), L"#,###", es), L"abc");
    EXPECT_EQ(FormatValue(data::Value::Text(L"1500,5"), L"#,###.##", es), L"1.500,5");  // numeric text
    EXPECT_EQ(FormatValue(data::Value::Text(L"CUOTA AÑO"), L"", es), L"CUOTA AÑO");
    EXPECT_EQ(FormatValue(data::Value::Real(150), L"", es), L"150");
    EXPECT_EQ(FormatValue(data::Value::Real(12.5), L"", es), L"12,5");
}

}  // namespace
}  // namespace arc::report
