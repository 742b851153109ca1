#include "util/text_rules.h"

#include <gtest/gtest.h>

#include <cmath>

namespace lurvane {
namespace {

TEST(NumericValue, ReadsTheLeadingNumberAndIgnoresBlanksAnywhere) {
    EXPECT_EQ(NumericValue("42"), 42);
    EXPECT_EQ(NumericValue("  42  "), 42);
    EXPECT_EQ(NumericValue(" 1 2\t3\n4"), 1234);
    EXPECT_EQ(NumericValue("12abc"), 12);
    EXPECT_EQ(NumericValue("-7"), -7);
    EXPECT_EQ(NumericValue("+7"), 7);
    EXPECT_EQ(NumericValue("- 7"), -7);
    EXPECT_EQ(NumericValue("0012"), 12);
    EXPECT_EQ(NumericValue("1e3"), 1000);
    EXPECT_EQ(NumericValue("1e"), 1);
    EXPECT_EQ(NumericValue("2.5E-1x"), 0.25);
}

TEST(NumericValue, UsesThePointAsDecimalSeparatorAndStopsAtAComma) {
    EXPECT_DOUBLE_EQ(NumericValue("3.75"), 3.75);
    EXPECT_DOUBLE_EQ(NumericValue(".5"), 0.5);
    EXPECT_DOUBLE_EQ(NumericValue("5."), 5);
    EXPECT_DOUBLE_EQ(NumericValue("1,5"), 1);
    EXPECT_DOUBLE_EQ(NumericValue("1.2.3"), 1.2);
}

TEST(NumericValue, ReadsHexadecimalAndOctalPrefixes) {
    EXPECT_EQ(NumericValue("&H10"), 16);
    EXPECT_EQ(NumericValue("&hff"), 255);
    EXPECT_EQ(NumericValue("&HFFFFFF"), 16777215);
    EXPECT_EQ(NumericValue("&O17"), 15);
    EXPECT_EQ(NumericValue("&O19"), 1);
    EXPECT_EQ(NumericValue("&H"), 0);
    EXPECT_EQ(NumericValue("&X12"), 0);
}

TEST(NumericValue, HexadecimalAndOctalAreSixteenOrThirtyTwoBitTwosComplement) {
    EXPECT_EQ(NumericValue("&H7FFF"), 32767);
    EXPECT_EQ(NumericValue("&H8000"), -32768);
    EXPECT_EQ(NumericValue("&HFFFF"), -1);
    EXPECT_EQ(NumericValue("&H0000FFFF"), -1);  // the value decides the width, not the digits
    EXPECT_EQ(NumericValue("&H10000"), 65536);
    EXPECT_EQ(NumericValue("&H7FFFFFFF"), 2147483647);
    EXPECT_EQ(NumericValue("&H8000000F"), -2147483633);  // the system colour button face
    EXPECT_EQ(NumericValue("&HFFFFFFFF"), -1);
    EXPECT_EQ(NumericValue("&H100000000"), 4294967296.0);
    EXPECT_EQ(NumericValue("&O177777"), -1);
    EXPECT_EQ(NumericValue("&O37777777777"), -1);
    EXPECT_EQ(RoundToInt32(NumericValue("&H80000005")), -2147483643);
}

TEST(NumericValue, TextWithoutANumberGivesZero) {
    EXPECT_EQ(NumericValue(""), 0);
    EXPECT_EQ(NumericValue("abc"), 0);
    EXPECT_EQ(NumericValue("."), 0);
    EXPECT_EQ(NumericValue("-"), 0);
    EXPECT_EQ(NumericValue("/c:5678"), 0);
}

TEST(IsNumeric, AcceptsOneNumberWithSurroundingBlanksOnly) {
    EXPECT_TRUE(IsNumeric("1234"));
    EXPECT_TRUE(IsNumeric(" 1234"));
    EXPECT_TRUE(IsNumeric("   42  "));
    EXPECT_TRUE(IsNumeric("-3.5"));
    EXPECT_TRUE(IsNumeric("&H1F"));
    EXPECT_FALSE(IsNumeric(""));
    EXPECT_FALSE(IsNumeric("   "));
    EXPECT_FALSE(IsNumeric(":5678"));
    EXPECT_FALSE(IsNumeric("12a"));
    EXPECT_FALSE(IsNumeric("p 12"));
}

TEST(Rounding, RoundsHalvesToTheEvenNeighbour) {
    EXPECT_EQ(RoundToInt32(0.5), 0);
    EXPECT_EQ(RoundToInt32(1.5), 2);
    EXPECT_EQ(RoundToInt32(2.5), 2);
    EXPECT_EQ(RoundToInt32(-0.5), 0);
    EXPECT_EQ(RoundToInt32(-1.5), -2);
    EXPECT_EQ(RoundToInt32(62.5), 62);
    EXPECT_EQ(RoundToInt32(12.5), 12);
    EXPECT_EQ(RoundToInt32(33.333), 33);
    EXPECT_EQ(RoundToInt16(2.5000001), 3);
    EXPECT_EQ(RoundToByte(254.5), 254);
}

TEST(Rounding, RaisesARangeErrorOutsideTheTarget) {
    EXPECT_EQ(RoundToInt16(32767.4), 32767);
    EXPECT_EQ(RoundToInt16(-32768.5), -32768);
    EXPECT_THROW(RoundToInt16(32767.5), RangeError);
    EXPECT_THROW(RoundToInt16(-32769), RangeError);
    EXPECT_EQ(RoundToInt32(2147483647.0), 2147483647);
    EXPECT_THROW(RoundToInt32(2147483647.5), RangeError);
    EXPECT_THROW(RoundToInt32(-2147483649.0), RangeError);
    EXPECT_EQ(RoundToByte(255.49), 255);
    EXPECT_THROW(RoundToByte(255.5001), RangeError);
    EXPECT_THROW(RoundToByte(-1), RangeError);
    EXPECT_EQ(RoundToByte(-0.5), 0);
    EXPECT_THROW(RoundToInt32(std::nan("")), RangeError);
}

TEST(SeparatedLists, PickElementsCountingFromOne) {
    EXPECT_EQ(ParseCSV("a;b;c", 1), "a");
    EXPECT_EQ(ParseCSV("a;b;c", 3), "c");
    EXPECT_EQ(ParseCSV("a;b;c", 4), "");
    EXPECT_EQ(ParseCSV("a;b;c", 0), "");
    EXPECT_EQ(ParseCSV("a;b;c", -1), "");
    EXPECT_EQ(ParseCSV("", 1), "");
    EXPECT_EQ(ParseCSV(";x;", 1), "");
    EXPECT_EQ(ParseCSV(";x;", 2), "x");
    EXPECT_EQ(ParseCSV(";x;", 3), "");
    EXPECT_EQ(ParseComma("10,20", 2), "20");
    EXPECT_EQ(ParseComma("10", 2), "");
    EXPECT_EQ(ParseSeparatedString("no separator", '|', 1), "no separator");
}

TEST(NumberText, WritesTheShortestDecimalForm) {
    EXPECT_EQ(NumberText(0), "0");
    EXPECT_EQ(NumberText(-0.0), "0");
    EXPECT_EQ(NumberText(1234), "1234");
    EXPECT_EQ(NumberText(-15), "-15");
    EXPECT_EQ(NumberText(0.5), "0.5");
    EXPECT_EQ(NumberText(12.25), "12.25");
    EXPECT_EQ(NumberText(static_cast<double>(0.1f)), "0.10000000149011612");
}

TEST(TextHelpers, TrimAndLowerCase) {
    EXPECT_EQ(TrimBlanks("  /s "), "/s");
    EXPECT_EQ(TrimBlanks("\t/s"), "\t/s");
    EXPECT_EQ(LowerAscii("/M MANUAL"), "/m manual");
    EXPECT_EQ(LowerAscii("F\xC3\x9C"), "f\xC3\x9C");
}

}  // namespace
}  // namespace lurvane
