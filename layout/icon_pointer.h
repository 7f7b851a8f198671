#pragma once
// The stock "icon" pointer, pixel by pixel, for both windows to make their cursor from: a
// white square with a black frame and a black centre on a transparent 32 x 32 field, its hot
// spot in the middle.

namespace brivana::layout {

inline constexpr int kIconPointerSize = 32;
inline constexpr int kIconPointerHotSpot = 16;

enum class PointerPixel { transparent, black, white };

constexpr PointerPixel IconPointerPixel(int x, int y)
{
    if (x < 8 || x >= 24 || y < 8 || y >= 24) return PointerPixel::transparent;
    const bool frame = x == 8 || x == 23 || y == 8 || y == 23;
    const bool centre = x >= 13 && x < 19 && y >= 13 && y < 19;
    return frame || centre ? PointerPixel::black : PointerPixel::white;
}

}  // namespace brivana::layout
