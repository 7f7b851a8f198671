#pragma once
// Where this machine keeps the record: the shared place when this user can create and
// replace files there, otherwise the user's own data directory, created when missing.
// Shared place: the Windows directory on Windows, /var/games/brivana/ elsewhere.
// User's own: %LOCALAPPDATA%\Brivana\ on Windows, $XDG_DATA_HOME/brivana/ elsewhere.

#include <optional>
#include <string>

#include "game/record_place.h"

namespace brivana {

class SystemRecordPlace final : public RecordPlace {
public:
    // The places of this machine and user.
    SystemRecordPlace();
    // Explicit places, each ending in a path separator; for tests.
    SystemRecordPlace(std::string sharedDir, std::string userDir);

    RecordLocation locate() override;

private:
    std::string sharedDir_;
    std::string userDir_;
};

#ifdef _WIN32
// The Windows directory with one trailing backslash, from GetWindowsDirectoryA;
// nothing when the system does not give one.
std::optional<std::string> WindowsDirectory();
#endif

// The user's own record directory, ending in a path separator (not created here).
std::string UserRecordDirectory();

// Whether dir is a real directory (not a link) in which this user can create, replace and
// remove files. Tried for real: permission bits do not tell the whole story (root, ACLs).
bool CanKeepRecordsIn(const std::string& dir);

}  // namespace brivana
