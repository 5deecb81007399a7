// The property bag and the variant values it keeps (English locale).
#include "platform/container/PropertyBag.h"
#include "platform/runtime/DateValue.h"
#include "platform/runtime/Error.h"
#include "support/RaisedError.h"

#include <gtest/gtest.h>

namespace arc {
namespace {

using test::ErrorOf;

class Bag : public ::testing::Test {
protected:
    Regional en = SystemRegional();
    PropertyBag bag{en};
};

TEST_F(Bag, KeepsOnlyValuesThatDifferFromTheirDefaults) {
    bag.WriteLong(L"Format", 1, 1);
    bag.WriteBoolean(L"UpDown", true, false);
    bag.WriteText(L"CustomFormat", L"", L"");
    bag.WriteProperty(L"DateTime", Variant(), Variant::Text(L""));  // empty equals ""
    bag.WriteFont(L"Font", FontDesc{L"arial", 12}, FontDesc{L"Arial", 12});
    EXPECT_EQ(bag.Keys(), std::vector<std::wstring>{L"UpDown"});

    bag.WriteBoolean(L"UpDown", false, false);  // back to its default: the key goes
    EXPECT_FALSE(bag.Contains(L"UpDown"));
    EXPECT_EQ(bag.ReadBoolean(L"UpDown", true), true);
    EXPECT_EQ(bag.ReadLong(L"Format", 7), 7);
    EXPECT_EQ(bag.ReadFont(L"Font", FontDesc{L"Tahoma", 9}).face, L"Tahoma");
}

TEST_F(Bag, ReadsConvertToTheTypeAskedFor) {
    bag.WriteText(L"A", L"True", L"");
    bag.WriteText(L"B", L"2024-03-05", L"");
    bag.WriteText(L"C", L"12", L"");
    bag.WriteDate(L"D", DateSerial(2024, 3, 5), 0);
    bag.WriteFont(L"F", FontDesc{L"Arial", 12}, FontDesc{});
    EXPECT_TRUE(bag.ReadBoolean(L"A", false));
    EXPECT_EQ(bag.ReadDate(L"B", 0), DateSerial(2024, 3, 5));
    EXPECT_EQ(bag.ReadLong(L"C", 0), 12);
    EXPECT_EQ(bag.ReadText(L"D", L""), L"3/5/2024");
    EXPECT_EQ(ErrorOf([&] { bag.ReadLong(L"A", 0); }), kErrTypeMismatch);
    EXPECT_EQ(ErrorOf([&] { bag.ReadText(L"F", L""); }), kErrTypeMismatch);
    EXPECT_EQ(ErrorOf([&] { bag.ReadFont(L"C", FontDesc{}); }), kErrTypeMismatch);
}

TEST_F(Bag, TextFormRoundTripsEveryKind) {
    bag.WriteProperty(L"Nothing", Variant(), Variant::Long(1));
    bag.WriteProperty(L"Null", Variant::Null(), Variant());
    bag.WriteProperty(L"Int", Variant::Integer(-32768), Variant());
    bag.WriteLong(L"Colour", static_cast<int32_t>(0x80000005), 0);
    bag.WriteBoolean(L"Flag", true, false);
    bag.WriteProperty(L"Real", Variant::Double(0.1), Variant());
    bag.WriteDate(L"Early", kMinDateValue - 0.5, 0);  // before day 0, with a time of day
    bag.WriteDate(L"Late", kMaxDateValue + TimeSerial(23, 59, 59), 0);
    bag.WriteText(L"Text", L"a \"b\" \\ c\r\nd\te ñ", L"");
    bag.WriteFont(L"Font", FontDesc{L"Courier New", 10.5, true, true}, FontDesc{});
    std::wstring text = bag.ToText();

    PropertyBag back = PropertyBag::FromText(text, en);
    EXPECT_EQ(back.Keys(), bag.Keys());
    for (const auto& key : bag.Keys()) {
        if (key == L"Font") continue;
        EXPECT_EQ(back.ReadProperty(key, Variant()), bag.ReadProperty(key, Variant())) << key;
    }
    FontDesc f = back.ReadFont(L"Font", FontDesc{});
    EXPECT_EQ(f.face, L"Courier New");
    EXPECT_EQ(f.points, 10.5);
    EXPECT_TRUE(f.bold && f.italic);
    EXPECT_EQ(back.ToText(), text);
}

TEST_F(Bag, TextFormSkipsCommentsAndRefusesWhatItCannotRead) {
    PropertyBag ok = PropertyBag::FromText(L"' a comment\n\n  Width = long:1800  \nName=text:\"x\"", en);
    EXPECT_EQ(ok.ReadLong(L"Width", 0), 1800);
    EXPECT_EQ(ok.ReadText(L"Name", L""), L"x");
    for (const wchar_t* bad : {L"Width", L"Width=long:12x", L"=long:1", L"A=bool:yes", L"A=text:\"open",
                               L"A=date:2024-13-01 00:00:00", L"A=int:40000", L"A=font:\"Arial\",12", L"A=colour:1"})
        EXPECT_EQ(ErrorOf([&] { PropertyBag::FromText(bad, en); }), kErrInvalidPropertyValue) << bad;
}

TEST(VariantValues, CompareAndConvertAsTheRuntimeDoes) {
    Regional en = SystemRegional();
    EXPECT_TRUE(SameValue(Variant(), Variant::Text(L"")));
    EXPECT_TRUE(SameValue(Variant(), Variant::Long(0)));
    EXPECT_TRUE(SameValue(Variant::Long(1), Variant::Double(1)));
    EXPECT_FALSE(SameValue(Variant::Text(L"1"), Variant::Long(1)));
    EXPECT_FALSE(SameValue(Variant::Null(), Variant::Null()));

    EXPECT_EQ(CLng(Variant::Double(2.5), en), 2);
    EXPECT_EQ(CLng(Variant::Double(3.5), en), 4);
    EXPECT_EQ(ErrorOf([&] { CLng(Variant::Double(3e9), en); }), 6);
    EXPECT_EQ(ErrorOf([&] { CStr(Variant::Null(), en); }), 94);
    EXPECT_EQ(CStr(Variant::Date(DateSerial(2024, 3, 5) + TimeSerial(14, 30, 0)), en), L"3/5/2024 2:30:00 PM");
    EXPECT_EQ(CStr(Variant::Date(TimeSerial(14, 30, 0)), en), L"2:30:00 PM");
    EXPECT_EQ(CDate(Variant::Text(L"3/5/2024"), en), DateSerial(2024, 3, 5));
    EXPECT_EQ(ErrorOf([&] { CDate(Variant::Text(L"hoy"), en); }), kErrTypeMismatch);
}

}  // namespace
}  // namespace arc
