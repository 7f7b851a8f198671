#pragma once
// The two one-line files that keep the best score on the machine and its holder's name.
// Every read and every save holds the folder's lock. A save first writes the new pair in a
// commit mark; whatever step it is stopped at, the next read finds the old pair or the new
// one, never one file of each. Two games saving at once cannot let a worse record overwrite
// a better one, and a record file that could not be read is never overwritten.

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <utility>

#include "game/file_access.h"
#include "game/record_keeper.h"
#include "game/register_store.h"

namespace brivana {

inline constexpr const char* kScoreFileName = "briv2s.txt";
inline constexpr const char* kHolderFileName = "nbriv2s.txt";
// Present only between the moment a save is decided and the moment both files are replaced;
// it holds the new pair, so that a save stopped in between can be finished.
inline constexpr const char* kCommitMarkName = "brivana.commit";
// Files being written are named brivana-<random hex>.tmp; any found under the lock are leftovers.
inline constexpr const char* kTemporaryPrefix = "brivana-";
inline constexpr const char* kTemporarySuffix = ".tmp";
// A record file is read no further than this; anything longer is not one of ours.
inline constexpr std::size_t kRecordReadLimit = 64 * 1024;

// The score beats the record only when it is strictly greater.
// lblpuntiText is the stored record as read; lblScoreText the score as shown.
bool ScoreBeatsRecord(const std::string& lblpuntiText, const std::string& lblScoreText);

// What a save needs of the record folder dir, tried without touching the record: its lock taken,
// and a file of the kind a save writes written, flushed and removed.
IoStatus TrySaveStepsIn(FileAccess& files, const std::string& dir);

// The content of a commit mark, and back; nothing when the bytes are not a whole mark.
std::string EncodeCommitMark(const std::string& scoreBytes, const std::string& holderBytes);
std::optional<std::pair<std::string, std::string>> DecodeCommitMark(const std::string& bytes);

class RecordStore {
public:
    // recordDir ends in a path separator. On Windows the file names are appended with one
    // more, as the record files have always been addressed there; elsewhere with none.
    RecordStore(FileAccess& files, std::string recordDir,
                std::chrono::milliseconds lockWait = std::chrono::seconds(3));

    std::string scorePath() const;
    std::string holderPath() const;

    // Under the lock: finishes an interrupted save, removes leftovers, creates whichever
    // record file is missing (empty), and reads both. Without it (held too long, or a folder
    // this player may only read), reads what is there.
    RecordReading Read();
    // The whole content of a record file (at most kRecordReadLimit bytes), as UTF-8.
    IoStatus Leggifiletxt(const std::string& path, std::string& text);
    // Writes scoreText and holderName, each followed by CR LF, when scoreText still beats
    // the stored score under the lock.
    SaveResult SaveRecord(const std::string& scoreText, const std::string& holderName);

private:
    std::string pathOf(const char* fileName) const;
    std::string temporaryPath() const;
    IoStatus FinishInterruptedSave();
    // The record as the files (or a commit mark in place) hold it, when the lock cannot be
    // taken: read only, nothing finished, created or removed.
    RecordReading ReadWithoutLock(std::string lockProblem);
    // Whether the save that left this mark (score and holder bytes) is still to be carried out.
    IoStatus IsPending(const std::pair<std::string, std::string>& mark, bool& pending);
    IoStatus RemoveLeftovers();
    // Replaces both record files with the given bytes, each through a synced temporary file.
    IoStatus ReplaceBoth(const std::string& scoreBytes, const std::string& holderBytes);
    IoStatus Commit(const std::string& scoreBytes, const std::string& holderBytes);
    IoStatus DropCommitMark();

    FileAccess& files_;
    std::string dir_;
    std::chrono::milliseconds lockWait_;
};

// Keeps the record and the register with this process's own rights.
class LocalRecordKeeper final : public RecordKeeper {
public:
    LocalRecordKeeper(FileAccess& files, RegisterStamps& stamps) : files_(files), stamps_(stamps) {}
    RecordReading read(const std::string& dir) override { return RecordStore(files_, dir).Read(); }
    SaveResult save(const std::string& dir, const std::string& scoreText, const std::string& holderName) override
    {
        return RecordStore(files_, dir).SaveRecord(scoreText, holderName);
    }
    RegisterResult appendResult(const std::string& dir, const GameResult& result) override;
    RegisterResult clearSchoolYear(const std::string& dir, int schoolYear) override;

private:
    FileAccess& files_;
    RegisterStamps& stamps_;
};

}  // namespace brivana
