#pragma once
// Where the window stands when it is first shown. Both windows ask their toolkit for the
// screen, its work area and the window's frame, and ask this rule where the frame goes.
// Units are the caller's (pixels).

#include "layout/label_geometry.h"

namespace brivana::layout {

struct Point {
    int x = 0, y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// The top-left corner of the window's frame when the window is first shown. The client area
// goes `clientOffset` from the top-left corner of `screen`; `frame` is the whole window, frame
// included, with its client area's top-left corner at (0, 0). The window then moves as little
// as it must to lie wholly inside `workArea`; one larger than the work area starts at the work
// area's top-left corner, so that its caption stays within reach.
Point StartPosition(const Rect& screen, const Rect& workArea, Point clientOffset, const Rect& frame);

}  // namespace brivana::layout
