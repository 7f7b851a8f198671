// Where a label goes when its text changes.
#include "layout/label_geometry.h"

#include <gtest/gtest.h>

namespace brivana::layout {
namespace {

TEST(LabelGeometry, AFittedLabelKeepsItsTopLeftCornerAndTakesTheMeasuredSize)
{
    const Rect tally{322, 272, 37, 59};
    EXPECT_EQ(FittedRect(tally, 80, 61), (Rect{322, 272, 80, 61})) << "grows right and down";
    EXPECT_EQ(FittedRect(tally, 12, 20), (Rect{322, 272, 12, 20})) << "shrinks towards its corner";
}

TEST(LabelGeometry, TheClosingBracketMovesRightOnlyAsFarAsTheFactorsBoxPassesIt)
{
    // The design's pixels: ")" at 464, the second factor's box from 400.
    const Rect bracket{464, -8, 41, 121};
    struct Case { int boxWidth; int bracketLeft; };
    const Case cases[] = {
        {23, 464},   // the empty box of the design
        {40, 464},   // a one-digit factor stays exactly as it was
        {64, 464},   // reaching the bracket's edge is not passing it
        {75, 475},   // "10" passes it by 11
        {101, 501},  // "-14"
    };
    for (const Case& c : cases) {
        const Rect moved = ClosingBracketRect(bracket, Rect{400, 16, c.boxWidth, 87});
        EXPECT_EQ(moved, (Rect{c.bracketLeft, -8, 41, 121})) << "box width " << c.boxWidth;
    }
}

}  // namespace
}  // namespace brivana::layout
