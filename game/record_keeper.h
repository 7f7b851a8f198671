#pragma once
// Reads and saves the record in the folder that the record place found. The game reaches the
// record files only through this, so that the right to write a shared folder can stay in a
// process of its own.

#include <string>
#include <vector>

#include "game/register_line.h"

namespace brivana {

struct RecordReading {
    std::string score;   // the score file's whole content as text; empty when it could not be read
    std::string holder;  // the holder file's, likewise
    bool complete = false;  // both files were read: score and holder are the record
    std::vector<std::string> problems;  // in Italian, for the player
};

enum class SaveOutcome {
    saved,
    notBetter,      // a record at least as good was saved meanwhile by another game
    failed,         // nothing was saved and the record is as it was
    failedUnsure,   // nothing was saved, and the record files may be left half replaced
    kept,           // the class record's server could not be reached: the score waits on this computer
};

struct SaveResult {
    SaveOutcome outcome = SaveOutcome::failed;
    std::string why;  // for the failures, in Italian
};

// What became of a request about the register.
struct RegisterResult {
    bool done = false;
    std::string why;  // when not done, in Italian
};

class RecordKeeper {
public:
    virtual ~RecordKeeper() = default;
    // Finishes a save that was interrupted, creates missing record files empty, and reads both.
    virtual RecordReading read(const std::string& dir) = 0;
    // Saves scoreText and holderName as the record when scoreText still beats the stored score.
    virtual SaveResult save(const std::string& dir, const std::string& scoreText, const std::string& holderName) = 0;
    // Appends one game's result to the register of the school year under way, beside the record
    // in dir; the keeper adds the date, the time and the computer's name.
    virtual RegisterResult appendResult(const std::string& dir, const GameResult& result) = 0;
    // Empties the register of the school year that starts on 1 September of schoolYear, beside
    // the record in dir. The installed keeper does it only for a teacher.
    virtual RegisterResult clearSchoolYear(const std::string& dir, int schoolYear) = 0;
};

}  // namespace brivana
