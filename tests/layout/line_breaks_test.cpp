// Where a dialog's lines break: at spaces, and inside a word too long for a line.
#include "layout/line_breaks.h"

#include <gtest/gtest.h>

#include <string>

namespace brivana::layout {
namespace {

TEST(LineBreaks, BreakAtSpacesAndInsideAWordTooLongForALineKeepingEveryLetter)
{
    // One unit a character, ten to a line.
    const Measure measure = [](std::u32string_view piece) { return static_cast<int>(piece.size()); };
    std::u32string longName;
    for (int i = 0; i < 255; ++i) longName += static_cast<char32_t>(U'a' + i % 26);
    std::u32string longNameBroken;
    for (std::size_t at = 0; at < longName.size(); at += 10)
        longNameBroken += longName.substr(at, 10) + (at + 10 < longName.size() ? U"\n" : U"");
    struct Row {
        std::u32string text, broken;
        const char* what;
    };
    const Row rows[] = {
        {U" Ciao Ada ", U" Ciao Ada ", "a text that fits stays as it is, its spaces too"},
        {U"Ciao Ada, alla prossima", U"Ciao Ada,\nalla\nprossima", "at the spaces"},
        {U"ab\ncd ef", U"ab\ncd ef", "its own line breaks stay"},
        {U"Ciao Bartolomeo-Maria!", U"Ciao\nBartolomeo\n-Maria!", "a long word where the line is full"},
        {longName, longNameBroken, "a name of 255 letters without a space"},
        {U"x " + longName.substr(0, 12), U"x\n" + longName.substr(0, 10) + U"\n" + longName.substr(10, 2),
         "a long word starts on its own line"},
        {std::u32string(U" ").append(longName, 0, 12), longName.substr(0, 10) + U"\n" + longName.substr(10, 2),
         "no line of a lone space before it"},
    };
    for (const Row& row : rows) {
        const std::u32string broken = BrokenLines(row.text, 10, measure);
        EXPECT_TRUE(broken == row.broken) << row.what;
    }
}

}  // namespace
}  // namespace brivana::layout
