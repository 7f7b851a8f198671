#pragma once
// The game speaks UTF-8; Windows speaks UTF-16. Every text crosses here, at the window's edge.

#include <string>
#include <string_view>

namespace brivana::win32 {

// A malformed UTF-8 sequence becomes U+FFFD, as Windows converts it.
std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

}  // namespace brivana::win32
