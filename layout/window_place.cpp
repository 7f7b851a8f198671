#include "layout/window_place.h"

#include <algorithm>

namespace brivana::layout {

namespace {

// One axis: as wanted, else against the far edge, else against the near edge.
int Inside(int wanted, int size, int nearEdge, int farEdge) { return std::max(nearEdge, std::min(wanted, farEdge - size)); }

}  // namespace

Point StartPosition(const Rect& screen, const Rect& workArea, Point clientOffset, const Rect& frame)
{
    return Point{Inside(screen.left + clientOffset.x + frame.left, frame.width, workArea.left, workArea.right()),
                 Inside(screen.top + clientOffset.y + frame.top, frame.height, workArea.top, workArea.bottom())};
}

}  // namespace brivana::layout
