#pragma once
// The geometry and colours of the background gradient painted at every question: 256
// horizontal bands filling the client height, blue growing from 0 at the top to 255 at the
// bottom, red and green following the sizes of the two factors.

#include <cstdint>

#include "layout/control_table.h"

namespace brivana::layout {

inline constexpr int kBands = 256;

// Colour of band i for the raw draws p (-11..0) and q (-20..0).
Rgb BandColour(std::int16_t p, std::int16_t q, int band);
// First pixel row of band i in an area `height` rows high; band kBands gives the height.
int BandTop(int band, int height);
// The band that covers pixel row `row` (0 <= row < height) of an area `height` rows high.
int BandAtRow(int row, int height);

}  // namespace brivana::layout
