#pragma once
// Italian sentences for the operating system's error codes, for the player's eyes.

#include <string>

namespace brivana {

// errno on POSIX systems, GetLastError() on Windows.
std::string SystemErrorText(int code);
// "Non riesco a <action> <path>: <reason>."
std::string FileErrorText(const std::string& action, const std::string& path, int code);

}  // namespace brivana
