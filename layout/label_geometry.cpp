#include "layout/label_geometry.h"

#include <algorithm>

namespace brivana::layout {

Rect FittedRect(const Rect& current, int measuredWidth, int measuredHeight, int rightEdge)
{
    const long long room = static_cast<long long>(rightEdge) - current.left;
    const int width = static_cast<int>(std::clamp<long long>(room, 0, measuredWidth));
    return Rect{current.left, current.top, width, measuredHeight};
}

Rect ClosingBracketRect(const Rect& bracketAtDesign, const Rect& factorBox)
{
    Rect bracket = bracketAtDesign;
    bracket.left = std::max(bracketAtDesign.left, factorBox.right());
    return bracket;
}

}  // namespace brivana::layout
