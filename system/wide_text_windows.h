#pragma once
// The game speaks UTF-8; the Win32 calls speak UTF-16. Every text and path crosses here, at
// the program's edge.

#include <string>
#include <string_view>

namespace brivana {

// A malformed UTF-8 sequence becomes U+FFFD, as Windows converts it.
std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

}  // namespace brivana
