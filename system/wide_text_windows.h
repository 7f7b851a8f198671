#pragma once
// The game keeps paths in UTF-8; the Win32 calls take them in UTF-16.

#include <string>

namespace brivana {

std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);

}  // namespace brivana
