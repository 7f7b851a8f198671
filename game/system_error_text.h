#pragma once
// Italian sentences for the operating system's error codes, for the player's eyes.

#include <string>

namespace brivana {

// errno on POSIX systems, GetLastError() on Windows.
std::string SystemErrorText(int code);
// A path as the player reads it, in UTF-8 like every other text of the program. Windows
// gives narrow paths in its ANSI code page; elsewhere they are shown as they are.
std::string PathForDisplay(const std::string& path);
// "Non riesco a <action> <path>: <reason>."
std::string FileErrorText(const std::string& action, const std::string& path, int code);

}  // namespace brivana
