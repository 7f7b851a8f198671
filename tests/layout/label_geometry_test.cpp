// Where a label goes when its text changes, and where the window first stands.
#include "layout/label_geometry.h"
#include "layout/window_place.h"

#include <gtest/gtest.h>

namespace brivana::layout {
namespace {

TEST(LabelGeometry, AFittedLabelKeepsItsTopLeftCornerAndTakesTheMeasuredSize)
{
    const Rect tally{322, 272, 37, 59};
    EXPECT_EQ(FittedRect(tally, 80, 61), (Rect{322, 272, 80, 61})) << "grows right and down";
    EXPECT_EQ(FittedRect(tally, 12, 20), (Rect{322, 272, 12, 20})) << "shrinks towards its corner";
    EXPECT_EQ(FittedRect(tally, 500, 61, 792), (Rect{322, 272, 470, 61})) << "a long name stops at the window's edge";
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

TEST(LabelGeometry, TheWindowStartsAtTheDesignsPlaceWhollyInsideTheWorkArea)
{
    // The client area at (135, 87) from the screen's corner, at 100 % unless told.
    const Rect frame100{-3, -41, 798, 598};
    struct Case { Rect screen, work; Point offset; Rect frame; Point at; const char* what; };
    const Case cases[] = {
        {{0, 0, 1280, 1024}, {0, 0, 1280, 984}, {135, 87}, frame100, {132, 46}, "fits: the frame around the client"},
        {{1280, 0, 1920, 1080}, {1280, 0, 1920, 1040}, {135, 87}, frame100, {1412, 46}, "from its own screen"},
        {{0, 0, 1280, 1024}, {0, 60, 1280, 964}, {135, 87}, frame100, {132, 60}, "below a taskbar at the top"},
        {{0, 0, 1024, 768}, {0, 0, 1024, 728}, {135, 87}, {-3, -41, 900, 700}, {124, 28}, "back from the far edges"},
        {{0, 0, 1280, 1024}, {0, 0, 1280, 984}, {270, 174}, {-6, -80, 1596, 1194}, {0, 0}, "200 %: larger"},
    };
    for (const Case& c : cases) EXPECT_EQ(StartPosition(c.screen, c.work, c.offset, c.frame), c.at) << c.what;
}

}  // namespace
}  // namespace brivana::layout
