// The gradient's bands: which band covers a pixel row, so a window can tell what lies behind a text.
#include "layout/gradient_bands.h"

#include <gtest/gtest.h>

namespace brivana::layout {
namespace {

TEST(GradientBands, EveryRowBelongsToTheBandWhoseRowsItIsIn)
{
    for (const int height : {554, 512, 300}) {
        for (int band = 0; band < kBands; ++band) {
            const int top = BandTop(band, height);
            const int bottom = BandTop(band + 1, height);
            for (int row = top; row < bottom; ++row) ASSERT_EQ(BandAtRow(row, height), band) << height << " " << row;
        }
        EXPECT_EQ(BandAtRow(height - 1, height), kBands - 1);
    }
}

}  // namespace
}  // namespace brivana::layout
