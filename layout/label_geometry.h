#pragma once
// Where a label goes when its text changes. Both windows measure the text with their own
// toolkit and ask these rules where the label then stands. Units are the caller's (pixels).

#include <climits>
#include <string_view>

namespace brivana::layout {

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// A label that fits its text keeps its top-left corner and takes the measured size, but it
// never passes `rightEdge` (the window's): a longer text is cut there, with an ellipsis, and
// shown whole in the label's tooltip.
Rect FittedRect(const Rect& current, int measuredWidth, int measuredHeight, int rightEdge = INT_MAX);
// A label's tooltip: the design's, or the whole text when the label shows it cut.
constexpr std::string_view LabelTooltip(std::string_view design, std::string_view shown, bool cut)
{
    return cut ? shown : design;
}
// The text a fitting label is measured by: its shown text, or one space when that is empty,
// so that an empty label keeps a line's height and a little width and its tooltip can show.
constexpr std::string_view MeasuredText(std::string_view shown) { return shown.empty() ? " " : shown; }

// The closing bracket after the second factor: where it stands while the factor's box is
// `factorBox`. A box that grows past the bracket's design-time left edge pushes the bracket
// right by as much; a box that stays short of it leaves the bracket where the design puts it.
Rect ClosingBracketRect(const Rect& bracketAtDesign, const Rect& factorBox);

}  // namespace brivana::layout
