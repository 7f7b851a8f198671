#pragma once
// The Windows directory, where the record has always been kept on Windows.

#include <optional>
#include <string>

namespace brivana {

// The Windows directory in UTF-8 with one trailing backslash, from GetWindowsDirectoryW;
// nothing when the system does not give one.
std::optional<std::string> WindowsDirectory();

}  // namespace brivana
