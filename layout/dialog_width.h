#pragma once
// How wide the game's dialogs are, the same rule in both windows. Units are the caller's
// pixels; `scale` is the screen's scale (1 at 100 %).

#include <algorithm>
#include <cmath>

namespace brivana::layout {

// The widest a message box's text stands: half the work area, and no more than 500 pixels at
// 100 %. A longer text breaks into lines at this width.
inline int WidestMessageText(int workAreaWidth, double scale)
{
    return std::min(workAreaWidth / 2, static_cast<int>(std::lround(500 * scale)));
}

// The frame width at which a dialog's caption bar shows its whole title: the title, a third
// more for window managers whose title font is larger than the one measured with, the
// caption's icon and three buttons (each `captionButton` wide), the frame on both sides
// (each `frameSide`), and 32 pixels at 100 % to spare.
inline int TitleFrameWidth(int titleWidth, int captionButton, int frameSide, double scale)
{
    return titleWidth * 4 / 3 + 4 * captionButton + 2 * frameSide + static_cast<int>(std::lround(32 * scale));
}

}  // namespace brivana::layout
