#pragma once
// Plain Win32 file helpers for the Windows tests, independent of the code under test.

#include <optional>
#include <string>
#include <vector>

namespace brivana::windows_test {

// True under Wine in a prefix made for this run, which test.sh says with
// BRIVANA_THROWAWAY_WINEPREFIX=1: only there may tests write in the Windows directory
// or in the user's own folders.
bool InThrowawayWinePrefix();

// The value of an environment variable; empty when unset.
std::string Environment(const char* name);

std::optional<std::string> ReadBytes(const std::string& path);
bool WriteBytes(const std::string& path, const std::string& bytes);
bool IsDirectory(const std::string& path);
// Deletes the file if it is there.
void RemoveFile(const std::string& path);
// Names of the files of dir (ending in a backslash) that match pattern, e.g. "briv2s.txt*".
std::vector<std::string> FilesMatching(const std::string& dir, const std::string& pattern);

}  // namespace brivana::windows_test
