#include "system/system_record_place.h"

#include <utility>

namespace brivana {

namespace {

// In the player's own folder: present once the player has been told why the record is kept there.
constexpr const char* kNoticeMarkerName = "avviso-cartella-comune";

}  // namespace

SystemRecordPlace::SystemRecordPlace()
    : SystemRecordPlace(SharedRecordDirectory(), UserRecordDirectory(), CanKeepRecordsIn)
{
}

SystemRecordPlace::SystemRecordPlace(std::string sharedDir, std::string userDir, SharedFolderCheck canKeepShared,
                                     bool classRecord)
    : sharedDir_(std::move(sharedDir)), userDir_(std::move(userDir)), canKeepShared_(std::move(canKeepShared)),
      classRecord_(classRecord)
{
}

RecordLocation SystemRecordPlace::locate()
{
    if (!sharedDir_.empty() && canKeepShared_(sharedDir_)) return {sharedDir_, {}, classRecord_};
    // A record of the player's own would hide the class's, and greet a worse score as a record.
    if (!sharedDir_.empty() && FolderExists(sharedDir_) && SharedFolderIsTheClassRecord())
        return {sharedDir_, "Il record della classe è nella cartella comune " + sharedDir_ +
                                ", ma non posso scriverci: il tuo punteggio non potrà essere salvato come record.",
                classRecord_};

    RecordLocation location{userDir_, {}};
    const std::string problem = MakeFolder(userDir_);
    // Where the shared folder exists but is closed to this player, say once where the record goes instead.
    if (!sharedDir_.empty() && FolderExists(sharedDir_) && CreateMarker(userDir_ + kNoticeMarkerName))
        location.notice = "Non posso scrivere il record nella cartella comune " + sharedDir_ +
                          ": il tuo record sarà conservato nella tua cartella personale " + userDir_ + ".";
    if (!problem.empty()) location.notice += (location.notice.empty() ? "" : "\n") + problem;
    return location;
}

}  // namespace brivana
