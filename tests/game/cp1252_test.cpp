#include "game/cp1252.h"

#include <gtest/gtest.h>

namespace brivana {
namespace {

TEST(Cp1252, DecodesAccentedLettersAndTheEuroSign)
{
    EXPECT_EQ(Cp1252ToUtf8("Niccol\xF2"), "Niccolò");
    EXPECT_EQ(Cp1252ToUtf8("\x80 5"), "€ 5");
    EXPECT_EQ(Cp1252ToUtf8("\x93" "Ciao" "\x94"), "“Ciao”");
    EXPECT_EQ(Cp1252ToUtf8("12\r\n"), "12\r\n");
}

TEST(Cp1252, EncodesWhatItCanHoldAndAQuestionMarkForTheRest)
{
    EXPECT_EQ(Utf8ToCp1252("Niccolò"), "Niccol\xF2");
    EXPECT_EQ(Utf8ToCp1252("€"), "\x80");
    EXPECT_EQ(Utf8ToCp1252("Łukasz 中"), "?ukasz ?");
    EXPECT_EQ(Utf8ToCp1252("😀"), "?");
}

TEST(Cp1252, TurnsMalformedUtf8IntoQuestionMarksWithoutLosingTheRest)
{
    EXPECT_EQ(Utf8ToCp1252("a\xFF" "b"), "a?b");
    EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");             // cut short at the end
    EXPECT_EQ(Utf8ToCp1252("\xC3" "A"), "?A");          // cut short before a letter, which stays
    EXPECT_EQ(Utf8ToCp1252("\xC0\xAF"), "?");            // overlong slash
    EXPECT_EQ(Utf8ToCp1252("\xED\xA0\x80"), "?");        // a lone surrogate
}

TEST(Cp1252, EveryByteSurvivesTheRoundTripThroughUtf8)
{
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

}  // namespace
}  // namespace brivana
