#pragma once
// Where the lines of a dialog's text break, the same in both windows: at spaces, and inside a
// word too long for a line, where the line is full. Every character of the text is kept; only
// the spaces at a break are dropped. The window measures with its own fonts.

#include <functional>
#include <string>
#include <string_view>

namespace brivana::layout {

// The width of a piece of text, in the caller's units.
using Measure = std::function<int(std::u32string_view)>;

// The text with a line break ("\n") wherever a line would pass `width`; the breaks it already
// has stay.
std::u32string BrokenLines(std::u32string_view text, int width, const Measure& measure);

}  // namespace brivana::layout
