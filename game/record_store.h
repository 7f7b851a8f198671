#pragma once
// The two one-line files that keep the best score on the machine and its holder's name.
// Saving never destroys the record it replaces, and two games saving at once cannot let a
// worse record overwrite a better one.

#include <chrono>
#include <cstddef>
#include <string>

#include "game/file_access.h"

namespace brivana {

inline constexpr const char* kScoreFileName = "briv2s.txt";
inline constexpr const char* kHolderFileName = "nbriv2s.txt";
inline constexpr const char* kLockFileName = "brivana.lock";
// A record file is read no further than this; anything longer is not one of ours.
inline constexpr std::size_t kRecordReadLimit = 64 * 1024;

// The score beats the record only when it is strictly greater.
// lblpuntiText is the stored record as read; lblScoreText the score as shown.
bool ScoreBeatsRecord(const std::string& lblpuntiText, const std::string& lblScoreText);

enum class SaveOutcome {
    saved,
    notBetter,  // a record at least as good was saved meanwhile by another game
    failed,
};

struct SaveResult {
    SaveOutcome outcome = SaveOutcome::failed;
    std::string why;  // for failed, in Italian
};

class RecordStore {
public:
    // recordDir ends in a path separator; the file names are appended with one more,
    // as the record files have always been addressed.
    RecordStore(FileAccess& files, std::string recordDir,
                std::chrono::milliseconds lockWait = std::chrono::seconds(3));

    std::string scorePath() const;
    std::string holderPath() const;

    // Creates whichever record file is missing, empty.
    IoStatus EnsureRecordFiles();
    // The whole content of a record file (at most kRecordReadLimit bytes), as UTF-8.
    IoStatus Leggifiletxt(const std::string& path, std::string& text);
    // Writes scoreText and holderName, each followed by CR LF, when scoreText still beats
    // the stored score under the lock. On failure both old files are left as they were.
    SaveResult SaveRecord(const std::string& scoreText, const std::string& holderName);

private:
    std::string pathOf(const char* fileName) const;

    FileAccess& files_;
    std::string dir_;
    std::chrono::milliseconds lockWait_;
};

}  // namespace brivana
