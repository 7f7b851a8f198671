#include "win32/broken_lines.h"

#include "layout/line_breaks.h"

namespace brivana::win32 {

namespace {

std::u32string CodePoints(std::wstring_view text)
{
    std::u32string points;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = text[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
            points += 0x10000 + ((unit - 0xD800) << 10) + (static_cast<char32_t>(text[++i]) - 0xDC00);
        else
            points += unit;
    }
    return points;
}

std::wstring Utf16(std::u32string_view points)
{
    std::wstring text;
    for (const char32_t point : points) {
        if (point < 0x10000) {
            text += static_cast<wchar_t>(point);
        } else {
            text += static_cast<wchar_t>(0xD800 + ((point - 0x10000) >> 10));
            text += static_cast<wchar_t>(0xDC00 + ((point - 0x10000) & 0x3FF));
        }
    }
    return text;
}

}  // namespace

std::wstring BrokenLines(HDC dc, std::wstring_view text, int width)
{
    return Utf16(layout::BrokenLines(CodePoints(text), width, [dc](std::u32string_view piece) {
        const std::wstring wide = Utf16(piece);
        RECT needed{0, 0, 0, 0};
        DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &needed,
                  DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | DT_NOPREFIX);
        return static_cast<int>(needed.right);
    }));
}

}  // namespace brivana::win32
