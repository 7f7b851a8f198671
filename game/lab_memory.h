#pragma once
// What a keeper remembers on its own computer of the class record kept on the school's server:
// the score of the last class record it saw there, and a score waiting to be delivered there
// because the server could not be reached when its game ended. Kept in one small file of the
// keeper's own folder, replaced whole under that folder's lock, so that a power cut leaves the
// old memory or the new one.

#include <optional>
#include <string>

#include "game/file_access.h"

namespace brivana {

inline constexpr const char* kLabMemoryName = "record-classe.txt";

struct PendingScore {
    std::string score;   // as a record holds it, e.g. "12" (no line end)
    std::string holder;  // a name a record can hold
    bool operator==(const PendingScore&) const = default;
};

struct LabMemory {
    std::string seenScore;  // the last class record seen on the server; empty when none was
    std::optional<PendingScore> pending;
    bool operator==(const LabMemory&) const = default;
};

std::string EncodeLabMemory(const LabMemory& memory);
// Nothing when the bytes are not a whole memory of ours.
std::optional<LabMemory> DecodeLabMemory(const std::string& bytes);

// The class record read on the server (its score file as text): remembered as the last seen;
// a pending score it is at least as good as is dropped, since the class has passed it.
void RememberClassRecord(LabMemory& memory, const std::string& recordScoreText);
// A score that could not reach the server: kept when it beats the last class record seen here
// and any score already waiting. Returns whether the memory now holds it.
bool KeepPendingScore(LabMemory& memory, const std::string& score, const std::string& holder);

// The memory file in the keeper's own folder (ending in a path separator).
class LabMemoryFile {
public:
    LabMemoryFile(FileAccess& files, std::string dir);

    // What is remembered; a file that is missing or not ours is an empty memory.
    IoStatus load(LabMemory& memory);
    // Loads the memory, lets change alter it and stores it back, all under the folder's lock.
    template <typename Change>
    IoStatus update(Change&& change)
    {
        std::unique_ptr<FileLock> lock;
        if (IoStatus status = files_.lockFolder(dir_, kWait, lock); !status.ok()) return status;
        LabMemory memory;
        if (IoStatus status = loadLocked(memory); !status.ok()) return status;
        const LabMemory before = memory;
        change(memory);
        return memory == before ? IoStatus::success() : storeLocked(memory);
    }

private:
    static constexpr std::chrono::milliseconds kWait{2000};
    IoStatus loadLocked(LabMemory& memory);
    IoStatus storeLocked(const LabMemory& memory);

    FileAccess& files_;
    std::string dir_;
};

}  // namespace brivana
