#pragma once
// The record files hold Windows-1252 text; the program works in UTF-8.

#include <string>
#include <string_view>

namespace brivana {

// Every byte maps to one character; the five bytes Windows-1252 leaves unassigned map to
// the control characters of the same number, as Windows itself does.
std::string Cp1252ToUtf8(std::string_view bytes);
// A character Windows-1252 cannot hold, or a malformed UTF-8 sequence, becomes "?".
std::string Utf8ToCp1252(std::string_view text);

}  // namespace brivana
