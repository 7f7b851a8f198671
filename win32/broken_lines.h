#pragma once
// The line-break rule of the layout (layout/line_breaks.h) for UTF-16 text measured with the
// font selected into a device context.

#include <windows.h>

#include <string>
#include <string_view>

namespace brivana::win32 {

// text with a line break wherever a line would pass `width` pixels.
std::wstring BrokenLines(HDC dc, std::wstring_view text, int width);

}  // namespace brivana::win32
