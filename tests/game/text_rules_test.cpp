#include "game/text_rules.h"

#include <gtest/gtest.h>

namespace brivana {
namespace {

TEST(NumberText, WritesPlainPatternsWithoutPadding)
{
    EXPECT_EQ(NumberText(-7, "#0"), "-7");
    EXPECT_EQ(NumberText(12, "####0"), "12");
    EXPECT_EQ(NumberText(0, "#0"), "0");
    EXPECT_EQ(NumberText(-220, "####0"), "-220");
    EXPECT_EQ(NumberText(32767, "###0"), "32767");
}

TEST(NumberText, PadsTheTwoDigitPatternWithZeros)
{
    EXPECT_EQ(NumberText(5, "00"), "05");
    EXPECT_EQ(NumberText(15, "00"), "15");
    EXPECT_EQ(NumberText(0, "00"), "00");
    EXPECT_EQ(NumberText(59.0f, "00"), "59");
    EXPECT_EQ(NumberText(2.5f, "00"), "02");  // halves go to the even neighbour
}

}  // namespace
}  // namespace brivana
