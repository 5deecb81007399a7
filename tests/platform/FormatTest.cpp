// The runtime's formats and conversions under an English and a Spanish
// locale: what the grid, the report, the SQL and the backup stamp rely on.
#include "platform/runtime/DateValue.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Format.h"
#include "platform/runtime/NumberText.h"

#include "platform/runtime/Text.h"

#include <gtest/gtest.h>

using namespace arc;

namespace {
const Regional& En() {
    static Regional r = RegionalFor(L"en-US");
    return r;
}
const Regional& Es() {
    static Regional r = RegionalFor(L"es-ES");
    return r;
}
std::string Narrow(const std::wstring& w) { return ToUtf8(w); }
}  // namespace

TEST(Regional, LocalesGiveTheirSeparators) {
    EXPECT_EQ(En().decimal, L".");
    EXPECT_EQ(En().thousand, L",");
    EXPECT_EQ(Es().decimal, L",");
    EXPECT_EQ(Es().thousand, L".");
}

TEST(FormatNumber, GridPatternKeepsTheSeparatorAndDropsZeroDecimals) {
    const std::wstring p = L"#,##0.##";
    EXPECT_EQ(FormatNumber(1500, p, En()), L"1,500.");
    EXPECT_EQ(FormatNumber(1234.5, p, En()), L"1,234.5");
    EXPECT_EQ(FormatNumber(0.25, p, En()), L"0.25");
    EXPECT_EQ(FormatNumber(0, p, En()), L"0.");
    EXPECT_EQ(FormatNumber(-40, p, En()), L"-40.");
    EXPECT_EQ(FormatNumber(-1234567.891, p, En()), L"-1,234,567.89");
    EXPECT_EQ(FormatNumber(999.999, p, En()), L"1,000.");
    EXPECT_EQ(FormatNumber(1500, p, Es()), L"1.500,");
    EXPECT_EQ(FormatNumber(1234.5, p, Es()), L"1.234,5");
    EXPECT_EQ(FormatNumber(0, p, Es()), L"0,");
}

TEST(FormatNumber, OptionalDigitsShowNothingForZero) {
    EXPECT_EQ(FormatNumber(0, L"#,###", En()), L"");
    EXPECT_EQ(FormatNumber(1500, L"#,###", En()), L"1,500");
    EXPECT_EQ(FormatNumber(-1500.4, L"#,###", En()), L"-1,500");
    EXPECT_EQ(FormatNumber(1500, L"#,###.##", En()), L"1,500.");
    EXPECT_EQ(FormatNumber(1500.5, L"#,###.##", Es()), L"1.500,5");
    EXPECT_EQ(FormatNumber(0.5, L"#,###.##", En()), L".5");
    EXPECT_EQ(FormatNumber(0, L"#,###.##", En()), L".");
}

TEST(FormatNumber, WholeNumberPatternRoundsHalvesAwayFromZero) {
    EXPECT_EQ(FormatNumber(12.5, L"0", En()), L"13");
    EXPECT_EQ(FormatNumber(12.4, L"0", En()), L"12");
    EXPECT_EQ(FormatNumber(-12.5, L"0", En()), L"-13");
    EXPECT_EQ(FormatNumber(1234567, L"0", Es()), L"1234567");
}

TEST(FormatDate, BackupStampReadsTheSecondMonthAsMinutes) {
    double v = DateSerial(2026, 12, 6) + TimeSerial(14, 30, 5);
    EXPECT_EQ(FormatDate(v, L"YYMMDDHHMMSS", En()), L"261206143005");
    EXPECT_EQ(FormatDate(DateSerial(2009, 1, 2) + TimeSerial(3, 4, 5), L"YYMMDDHHMMSS", Es()), L"090102030405");
    EXPECT_EQ(FormatDate(DateSerial(2024, 3, 5), L"YYYY-MM-DD", Es()), L"2024-03-05");
}

TEST(FormatDate, ReportDatesUseTheLanguageOfTheLocale) {
    double v = DateSerial(2024, 3, 5);
    EXPECT_EQ(FormatDate(v, L"d-MMM-yy", En()), L"5-Mar-24");
    EXPECT_EQ(FormatDate(v, L"d-MMM-yy", Es()), L"5-" + Es().monthAbbrevs[2] + L"-24");
    EXPECT_EQ(LongDate(DateSerial(2026, 12, 7), Es()), L"lunes, 7 de diciembre de 2026");
    EXPECT_EQ(FormatDate(DateSerial(2026, 12, 7), L"DDDDDD", En()), LongDate(DateSerial(2026, 12, 7), En()));
    EXPECT_NE(LongDate(DateSerial(2026, 12, 7), En()).find(L"December"), std::wstring::npos);
}

TEST(NumberText, LeadingNumberReading) {
    EXPECT_DOUBLE_EQ(Val(L"12.5"), 12.5);
    EXPECT_DOUBLE_EQ(Val(L"1,000"), 1);
    EXPECT_DOUBLE_EQ(Val(L"-5"), -5);
    EXPECT_DOUBLE_EQ(Val(L"7 kg"), 7);
    EXPECT_DOUBLE_EQ(Val(L"abc"), 0);
    EXPECT_DOUBLE_EQ(Val(L""), 0);
    EXPECT_DOUBLE_EQ(Val(L"  1 2"), 12);
}

// How each text reads: while typing (the numeric test) and as a value.
struct Reading {
    const wchar_t* text;
    bool typing;       // passes the numeric test
    const char* kind;  // "n" a number, "-" no number, "g" grouping that no number has
    double value;
};

void ExpectReadings(const Regional& regional, std::initializer_list<Reading> table) {
    for (const Reading& r : table) {
        std::string where = Narrow(regional.localeName) + " \"" + Narrow(r.text) + "\"";
        EXPECT_EQ(IsNumeric(r.text, regional), r.typing) << where;
        NumberReading got = ReadNumber(r.text, regional);
        const char* kind = got.kind == NumberReading::Kind::Number ? "n"
                           : got.kind == NumberReading::Kind::NotNumber ? "-" : "g";
        EXPECT_STREQ(kind, r.kind) << where;
        if (got.kind == NumberReading::Kind::Number) {
            EXPECT_DOUBLE_EQ(got.value, r.value) << where;
        }
    }
}

TEST(NumberText, SpanishTextsReadStrictlyAndEveryPrefixPassesWhileTyping) {
    ExpectReadings(Es(), {
        {L"12.50", true, "n", 12.5},  // the keypad's point: one symbol, two digits after it
        {L"1.5", true, "n", 1.5},
        {L"0.75", true, "n", 0.75},
        {L".5", true, "n", 0.5},
        {L"1.5000", true, "n", 1.5},
        {L"1.000", true, "n", 1000},
        {L"12.345.678", true, "n", 12345678},
        {L"1.000,50", true, "n", 1000.5},
        {L"0,75", true, "n", 0.75},
        {L" -1.234,5 ", true, "n", -1234.5},
        {L"1e3", true, "n", 1000},
        {L"1.000.5", true, "g", 0},  // on the way to 1.000.500, never read as 10005
        {L"12.34.567", true, "g", 0},
        {L"12.", true, "g", 0},
        {L"12.345.6", true, "g", 0},
        {L"1234.567", true, "g", 0},
        {L"0.750", true, "g", 0},
        {L"1.00,5", true, "g", 0},
        {L"-", true, "-", 0},
        {L",", true, "-", 0},
        {L"1e", true, "-", 0},
        {L"", false, "-", 0},
        {L"  ", false, "-", 0},
        {L"12a", false, "-", 0},
        {L"12,5,1", false, "-", 0},
        {L"1,000.5", false, "-", 0},
    });
}

TEST(NumberText, EnglishMirrorsTheSpanishRule) {
    ExpectReadings(En(), {
        {L"1,5", true, "n", 1.5},
        {L"12,50", true, "n", 12.5},
        {L"1,000", true, "n", 1000},
        {L"1,000.50", true, "n", 1000.5},
        {L" 12.5 ", true, "n", 12.5},
        {L"1,000,5", true, "g", 0},
        {L"1.2.3", false, "-", 0},
    });
    EXPECT_EQ(ParseNumber(L"1,000,5", En()), std::nullopt);
    EXPECT_EQ(ParseNumber(L"1,5", En()), 1.5);
}

TEST(NumberText, ConversionOfANonNumberIsATypeMismatch) {
    try {
        CDbl(L"", En());
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), 13);
        EXPECT_EQ(e.Description(), L"No coinciden los tipos");
    }
}

// The runtime's descriptions, as a Spanish runtime shows them.
TEST(RuntimeErrors, EachNumberCarriesItsSpanishDescription) {
    const std::pair<long, const wchar_t*> described[] = {
        {13, L"No coinciden los tipos"},
        {6, L"Desbordamiento"},
        {7, L"Memoria insuficiente"},
        {5, L"Llamada a procedimiento o argumento no válidos"},
        {380, L"El valor de la propiedad no es válido"},
        {53, L"No se ha encontrado el archivo"},
        {76, L"No se ha encontrado la ruta de acceso"},
        {75, L"Error de acceso a la ruta o el archivo"},
        {51, L"Error interno"},
        {3021, L"BOF o EOF es True, o el registro actual se eliminó; la operación solicitada requiere un registro actual."},
    };
    for (const auto& [number, text] : described) {
        EXPECT_EQ(RuntimeError(number).Description(), text) << number;
        EXPECT_EQ(RuntimeError(number).Number(), number);
    }
}

TEST(NumberText, SqlNumbersUseAPointAndNoGrouping) {
    EXPECT_EQ(SqlNumber(150), L"150");
    EXPECT_EQ(SqlNumber(12.5), L"12.5");
    EXPECT_EQ(SqlNumber(-40), L"-40");
    EXPECT_EQ(SqlNumber(0.1 + 0.2), L"0.3");
    EXPECT_EQ(SqlNumber(-0.0), L"0");
    EXPECT_EQ(SqlNumber(1234567.89), L"1234567.89");
    EXPECT_EQ(SqlNumber(1e20), L"1E+20");
}

TEST(DateValue, SerialsAtTheEndsOfTheRange) {
    EXPECT_EQ(DateSerial(1601, 1, 1), kMinDateValue);
    EXPECT_EQ(DateSerial(9999, 12, 31), kMaxDateValue);
    EXPECT_EQ(DateSerial(1899, 12, 30), 0);
    DateParts p = SplitDate(kMinDateValue);
    EXPECT_EQ(p.year, 1601);
    EXPECT_EQ(p.month, 1);
    EXPECT_EQ(p.day, 1);
    p = SplitDate(DateSerial(2026, 12, 7) + TimeSerial(23, 59, 59));
    EXPECT_EQ(p.dayOfWeek, 1);  // Monday
    EXPECT_EQ(p.hour, 23);
    EXPECT_EQ(p.second, 59);
    EXPECT_EQ(IsoDate(DateSerial(2024, 2, 29)), L"2024-02-29");
}

TEST(DateValue, TextsReadAsDates) {
    EXPECT_EQ(ParseDate(L"2024-03-05", Es()), DateSerial(2024, 3, 5));
    EXPECT_EQ(ParseDate(L"2024-03-05", En()), DateSerial(2024, 3, 5));
    EXPECT_EQ(ParseDate(L"05/03/2024", Es()), DateSerial(2024, 3, 5));
    EXPECT_EQ(ParseDate(L"03/05/2024", En()), DateSerial(2024, 3, 5));
    EXPECT_EQ(ParseDate(L"2024-03-05 14:30", En()), DateSerial(2024, 3, 5) + TimeSerial(14, 30, 0));
    EXPECT_FALSE(ParseDate(L"2024-02-30", En()));
    EXPECT_FALSE(ParseDate(L"hola", Es()));
    EXPECT_FALSE(ParseDate(L"", Es()));
    EXPECT_FALSE(ParseDate(L"12", Es()));
}

TEST(NumberText, CentsOfAFileAmountAreExactWhateverTheRegionalSettings) {
    const std::pair<const wchar_t*, long long> comma[] = {
        {L"7,62", 762}, {L"0,01", 1}, {L"9.999.999,99", 999999999}, {L"1.234", 123400}, {L"7,5", 750},
        {L"7,620", 762}, {L"-45,20", -4520}, {L"45,20-", -4520}, {L"(45,20)", -4520}, {L" +3 ", 300},
    };
    for (const auto& [text, cents] : comma) EXPECT_EQ(ParseCents(text, L',', L'.'), cents) << Narrow(text);
    EXPECT_EQ(ParseCents(L"1.00", L'.', L','), 100);
    EXPECT_EQ(ParseCents(L"1,234.56", L'.', L','), 123456);
    // What would have to be rounded or guessed is no amount.
    for (const wchar_t* text : {L"1.00", L"7,625", L"12,", L"1.23,4", L"12.34.567", L"", L"-", L"1e3", L"12 345",
                                L"99999999999999"})
        EXPECT_EQ(ParseCents(text, L',', L'.'), std::nullopt) << Narrow(text);
}
