#pragma once
// The Windows directory, where the record has always been kept on Windows, and the folder the
// installed game keeps it in instead.

#include <optional>
#include <string>

namespace brivana {

// The Windows directory in UTF-8 with one trailing backslash, from GetWindowsDirectoryW;
// nothing when the system does not give one.
std::optional<std::string> WindowsDirectory();
// %ProgramData%\Brivana\, whether it exists or not; empty when the system names no ProgramData.
// Only the record service writes it: the record, or with a lab folder the scores waiting for
// the school's server.
std::string InstalledRecordDirectory();

}  // namespace brivana
