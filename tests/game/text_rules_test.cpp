#include "game/text_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace brivana {
namespace {

TEST(NumberText, WritesThePlainPatternsWithoutPaddingAndZeroAsOneDigit)
{
    struct Case { long long value; const char* pattern; const char* text; };
    for (const Case& c : {Case{-7, "#0", "-7"}, Case{12, "####0", "12"}, Case{0, "#0", "0"},
                          Case{-220, "####0", "-220"}, Case{220, "###0", "220"}, Case{32767, "####0", "32767"},
                          Case{std::numeric_limits<long long>::min(), "#0", "-9223372036854775808"}})
        EXPECT_EQ(NumberText(c.value, c.pattern), c.text) << c.value << " " << c.pattern;
}

TEST(NumberText, PadsTheTwoDigitPatternWithZerosOnTheLeft)
{
    EXPECT_EQ(NumberText(5, "00"), "05");
    EXPECT_EQ(NumberText(15, "00"), "15");
    EXPECT_EQ(NumberText(0, "00"), "00");
    EXPECT_EQ(NumberText(120, "00"), "120");
}

TEST(NumberText, RoundsAFloatToTheNearestIntegerFirst)
{
    EXPECT_EQ(NumberText(59.0f, "00"), "59");
    EXPECT_EQ(NumberText(7.4f, "00"), "07");
    EXPECT_EQ(NumberText(2.5f, "00"), "02");
    EXPECT_EQ(NumberText(3.5f, "#0"), "4");
}

TEST(LeadingNumber, ReadsTheNumberAtTheStartOfTheText)
{
    struct Case { const char* text; double value; };
    for (const Case& c : {Case{"12\r\n", 12}, Case{"", 0}, Case{"5-3", 5}, Case{"--3", 0}, Case{"-12", -12},
                          Case{"  7", 7}, Case{"\t-4x", -4}, Case{"abc", 0}, Case{"-", 0}, Case{"3.5", 3.5},
                          Case{".5", 0.5}, Case{"+8", 8}, Case{"17\r\n", 17}, Case{"2e3", 2000}, Case{"2e", 2},
                          Case{"1e-999", 0}, Case{"007", 7}})
        EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(LeadingNumber, GivesInfinityForAnExponentBeyondAnyDouble)
{
    EXPECT_EQ(LeadingNumber("9e999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(LeadingNumber("-9e999"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(LeadingNumber(std::string(400, '9')), std::numeric_limits<double>::infinity());
}

TEST(StrictNumber, AcceptsOnlyATextThatIsWhollyAnInteger)
{
    EXPECT_EQ(StrictNumber("0"), 0);
    EXPECT_EQ(StrictNumber("32767"), 32767);
    EXPECT_EQ(StrictNumber("-5"), -5);
    for (const char* text : {"", "-", "12\r\n", " 3", "3 ", "1.5", "x", "--1", "99999999999999999999"})
        EXPECT_FALSE(StrictNumber(text).has_value()) << '"' << text << '"';
}

TEST(AnswerValue, RoundsHalvesToTheEvenNeighbour)
{
    EXPECT_EQ(AnswerValue("2.5"), 2);
    EXPECT_EQ(AnswerValue("3.5"), 4);
    EXPECT_EQ(AnswerValue("-0.5"), 0);
    EXPECT_EQ(AnswerValue("-2.6"), -3);
    EXPECT_EQ(AnswerValue("-12"), -12);
    EXPECT_EQ(AnswerValue(""), 0);
}

TEST(AnswerValue, RefusesValuesOutsideSixteenBits)
{
    EXPECT_EQ(AnswerValue("32767"), 32767);
    EXPECT_EQ(AnswerValue("-32768"), -32768);
    for (const char* text : {"32768", "-32769", "9e99", "-1e9", "32767.5", "9e999"})
        EXPECT_FALSE(AnswerValue(text).has_value()) << text;
}

TEST(IncrementTally, CountsUpAndStopsAtTheLargestSixteenBitValue)
{
    EXPECT_EQ(IncrementTally(0), 1);
    EXPECT_EQ(IncrementTally(32766), 32767);
    EXPECT_EQ(IncrementTally(32767), 32767);
}

}  // namespace
}  // namespace brivana
