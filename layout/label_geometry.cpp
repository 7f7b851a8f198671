#include "layout/label_geometry.h"

#include <algorithm>

namespace brivana::layout {

Rect FittedRect(const Rect& current, int measuredWidth, int measuredHeight)
{
    return Rect{current.left, current.top, measuredWidth, measuredHeight};
}

Rect ClosingBracketRect(const Rect& bracketAtDesign, const Rect& factorBox)
{
    Rect bracket = bracketAtDesign;
    bracket.left = std::max(bracketAtDesign.left, factorBox.right());
    return bracket;
}

}  // namespace brivana::layout
