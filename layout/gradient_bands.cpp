#include "layout/gradient_bands.h"

#include <algorithm>

namespace brivana::layout {

namespace {

int Component(int value) { return std::clamp(value, 0, 255); }

}  // namespace

Rgb BandColour(std::int16_t p, std::int16_t q, int band)
{
    return Rgb{Component(-20 * p), Component(-20 * q), Component(band)};
}

int BandTop(int band, int height)
{
    // The design's 512 units for the client height, two units a band, rounded to pixels.
    return static_cast<int>((2LL * band * height + 256) / 512);
}

int BandAtRow(int row, int height)
{
    int band = 0;
    while (band + 1 < kBands && BandTop(band + 1, height) <= row) ++band;
    return band;
}

}  // namespace brivana::layout
