#pragma once
// Where this machine keeps the record: the shared folder when the record can be kept there,
// otherwise the player's own folder, created when missing. On systems where the shared folder
// is the class record's, one that exists but is closed to this game is still read, and the
// player is told that his score cannot be saved there.
// Shared: /var/games/brivana/; on Windows %ProgramData%\Brivana\ where the installer made it,
// otherwise the Windows directory. Own: $XDG_DATA_HOME/brivana/ (by default
// ~/.local/share/brivana/); on Windows %LOCALAPPDATA%\Brivana\.

#include <functional>
#include <string>

#include "game/record_place.h"

namespace brivana {

// Whether the record can be kept in the folder dir.
using SharedFolderCheck = std::function<bool(const std::string& dir)>;
// The value of an environment variable; empty when unset.
using EnvironmentLookup = std::function<std::string(const char* name)>;

class SystemRecordPlace final : public RecordPlace {
public:
    // The places of this machine and player, the shared one tried with this process's rights.
    SystemRecordPlace();
    // Explicit places, each ending in a path separator.
    // classRecord: the shared folder's record is the whole lab's, kept on the school's server.
    SystemRecordPlace(std::string sharedDir, std::string userDir, SharedFolderCheck canKeepShared,
                      bool classRecord = false);

    // The notice about the player's own folder is given once per player: the folder
    // remembers that it was given.
    RecordLocation locate() override;

private:
    std::string sharedDir_;
    std::string userDir_;
    SharedFolderCheck canKeepShared_;
    bool classRecord_;
};

// The shared record folder of this machine, ending in a path separator; empty when there is none.
std::string SharedRecordDirectory();
// The player's own record folder, ending in a path separator (not created here).
std::string UserRecordDirectory();
std::string UserRecordDirectory(const EnvironmentLookup& environment);
// Whether dir is a real folder (not a link) in which this process can create, replace and
// remove files.
bool CanKeepRecordsIn(const std::string& dir);

// The platform halves below serve locate().
// Whether a shared folder that exists but cannot be written still holds the record everybody
// plays for, to be shown though not saved: true where only an installation makes that folder.
bool SharedFolderIsTheClassRecord();
// Whether dir names a folder.
bool FolderExists(const std::string& dir);
// Creates dir and its parents; an empty text when it exists afterwards, otherwise why not.
std::string MakeFolder(const std::string& dir);
// Creates the empty file path; false only when something already bore that name.
bool CreateMarker(const std::string& path);

}  // namespace brivana
