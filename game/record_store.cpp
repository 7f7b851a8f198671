#include "game/record_store.h"

#include <cstdio>
#include <filesystem>
#include <random>
#include <utility>

#include "game/cp1252.h"
#include "game/replace_whole.h"
#include "game/text_rules.h"

namespace brivana {

namespace {

constexpr const char* kCommitMarkHeader = "brivana commit 1\n";

bool IsTemporaryName(const std::string& name)
{
    const std::string prefix = kTemporaryPrefix;
    const std::string suffix = kTemporarySuffix;
    return name.size() > prefix.size() + suffix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
           name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// "Non riesco a leggere ...: ..." said of a file that the save must not overwrite.
std::string UnreadableRecordWhy(const IoStatus& status)
{
    return status.why + "\nUn record che non riesco a leggere non viene sostituito.";
}

}  // namespace

bool ScoreBeatsRecord(const std::string& lblpuntiText, const std::string& lblScoreText)
{
    const double record = LeadingNumber(lblpuntiText);
    const long long score = StrictNumber(lblScoreText).value_or(0);
    return static_cast<double>(score) > record;
}

IoStatus TrySaveStepsIn(FileAccess& files, const std::string& dir)
{
    std::unique_ptr<FileLock> lock;
    IoStatus status = files.lockFolder(dir, std::chrono::milliseconds(2000), lock);
    const std::string temporary = dir + kTemporaryPrefix + "verifica" + kTemporarySuffix;
    if (status.ok()) status = files.writeNew(temporary, "verifica\r\n");
    if (status.ok()) status = files.syncFile(temporary);
    if (status.ok()) status = files.remove(temporary);
    files.remove(temporary);
    return status;
}

std::string EncodeCommitMark(const std::string& scoreBytes, const std::string& holderBytes)
{
    return kCommitMarkHeader + std::to_string(scoreBytes.size()) + " " + std::to_string(holderBytes.size()) +
           "\n" + scoreBytes + holderBytes;
}

std::optional<std::pair<std::string, std::string>> DecodeCommitMark(const std::string& bytes)
{
    const std::string header = kCommitMarkHeader;
    if (bytes.compare(0, header.size(), header) != 0) return std::nullopt;
    const std::size_t lineEnd = bytes.find('\n', header.size());
    if (lineEnd == std::string::npos) return std::nullopt;
    const std::string sizes = bytes.substr(header.size(), lineEnd - header.size());
    unsigned long long scoreSize = 0;
    unsigned long long holderSize = 0;
    char extra = 0;
    if (std::sscanf(sizes.c_str(), "%llu %llu%c", &scoreSize, &holderSize, &extra) != 2) return std::nullopt;
    const std::size_t body = lineEnd + 1;
    if (scoreSize > kRecordReadLimit || holderSize > kRecordReadLimit ||
        bytes.size() - body != scoreSize + holderSize)
        return std::nullopt;
    return std::pair{bytes.substr(body, scoreSize), bytes.substr(body + scoreSize)};
}

RecordStore::RecordStore(FileAccess& files, std::string recordDir, std::chrono::milliseconds lockWait)
    : files_(files), dir_(std::move(recordDir)), lockWait_(lockWait)
{
}

std::string RecordStore::pathOf(const char* fileName) const
{
    // The record places give folders that end in a separator: paths shown to the player carry one.
    const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
    const bool separated = !dir_.empty() && (dir_.back() == separator || dir_.back() == '/');
    return dir_ + (separated ? std::string() : std::string(1, separator)) + fileName;
}

std::string RecordStore::scorePath() const { return pathOf(kScoreFileName); }
std::string RecordStore::holderPath() const { return pathOf(kHolderFileName); }

std::string RecordStore::temporaryPath() const
{
    // Random, so that no other game, here or on another machine sharing the folder, picks it too;
    // the file is created exclusively all the same.
    std::random_device entropy;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%08x%08x", static_cast<unsigned>(entropy()), static_cast<unsigned>(entropy()));
    return pathOf((std::string(kTemporaryPrefix) + hex + kTemporarySuffix).c_str());
}

IoStatus RecordStore::Leggifiletxt(const std::string& path, std::string& text)
{
    std::string bytes;
    IoStatus status = files_.readHead(path, kRecordReadLimit, bytes);
    text = status.ok() ? Cp1252ToUtf8(bytes) : std::string();
    return status;
}

RecordReading RecordStore::Read()
{
    RecordReading reading;
    std::unique_ptr<FileLock> lock;
    if (IoStatus status = files_.lockFolder(dir_, lockWait_, lock); !status.ok())
        return ReadWithoutLock(std::move(status.why));
    // A pair that an interrupted save left half replaced is never shown. A mark that is no file
    // of ours left the pair whole: it is read all the same.
    if (IoStatus status = FinishInterruptedSave(); !status.ok()) {
        const bool pairWhole = status.kind == IoStatus::Kind::notAFile;
        reading.problems.push_back(std::move(status.why));
        if (!pairWhole) return reading;
    }
    for (IoStatus status : {RemoveLeftovers(), files_.ensureFile(scorePath()), files_.ensureFile(holderPath())})
        if (!status.ok()) reading.problems.push_back(std::move(status.why));
    bool whole = true;
    for (auto [path, text] : {std::pair{scorePath(), &reading.score}, std::pair{holderPath(), &reading.holder}}) {
        if (IoStatus status = Leggifiletxt(path, *text); !status.ok()) {
            reading.problems.push_back(std::move(status.why));
            whole = false;
        }
    }
    // One file without the other is no record: a score is never shown with another's name.
    if (!whole) {
        reading.score.clear();
        reading.holder.clear();
    }
    reading.complete = whole;
    return reading;
}

RecordReading RecordStore::ReadWithoutLock(std::string lockProblem)
{
    RecordReading reading;
    reading.problems.push_back(std::move(lockProblem));
    // A save may replace the files between two reads: read until the score stays the same
    // across the reading, a few times at most.
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::string score;
        std::string holder;
        std::string scoreAfter;
        for (auto [path, bytes] : {std::pair{scorePath(), &score}, std::pair{holderPath(), &holder}}) {
            if (IoStatus status = files_.readHead(path, kRecordReadLimit, *bytes); !status.ok()) {
                reading.problems.push_back(std::move(status.why));
                return reading;
            }
        }
        // A save under way, or one stopped half-way: its mark holds the pair it leads to.
        std::string mark;
        std::optional<std::pair<std::string, std::string>> pair;
        bool pending = false;
        if (files_.readHead(pathOf(kCommitMarkName), kRecordReadLimit * 3, mark).ok()) pair = DecodeCommitMark(mark);
        if (pair && !IsPending(*pair, pending).ok()) pending = false;
        if (files_.readHead(scorePath(), kRecordReadLimit, scoreAfter).ok() && scoreAfter == score) {
            reading.score = Cp1252ToUtf8(pending ? pair->first : score);
            reading.holder = Cp1252ToUtf8(pending ? pair->second : holder);
            reading.complete = true;
            return reading;
        }
    }
    return reading;
}

SaveResult RecordStore::SaveRecord(const std::string& scoreText, const std::string& holderName)
{
    const auto failed = [](SaveOutcome outcome, std::string why) { return SaveResult{outcome, std::move(why)}; };

    std::unique_ptr<FileLock> lock;
    if (IoStatus status = files_.lockFolder(dir_, lockWait_, lock); !status.ok())
        return failed(SaveOutcome::failed, status.why);
    if (IoStatus status = FinishInterruptedSave(); !status.ok())
        return failed(status.kind == IoStatus::Kind::notAFile ? SaveOutcome::failed : SaveOutcome::failedUnsure,
                      status.why);
    // Leftovers only take room: a save goes on without removing them.
    RemoveLeftovers();

    // The pair as it is now, to compare with and to put back should the save fail half-way.
    // Another game may have saved a better record since this one read it.
    std::string oldScore;
    std::string oldHolder;
    for (auto [path, bytes] : {std::pair{scorePath(), &oldScore}, std::pair{holderPath(), &oldHolder}}) {
        const IoStatus status = files_.readHead(path, kRecordReadLimit, *bytes);
        if (!status.ok() && status.kind != IoStatus::Kind::missing)
            return failed(SaveOutcome::failed, UnreadableRecordWhy(status));
    }
    if (!ScoreBeatsRecord(Cp1252ToUtf8(oldScore), scoreText)) return {SaveOutcome::notBetter, {}};

    const std::string newScore = Utf8ToCp1252(scoreText) + "\r\n";
    const std::string newHolder = Utf8ToCp1252(holderName) + "\r\n";
    if (IoStatus status = Commit(newScore, newHolder); !status.ok()) {
        // The record files are untouched; only a mark that made it into place must go again.
        if (DropCommitMark().ok()) return failed(SaveOutcome::failed, status.why);
        return failed(SaveOutcome::failedUnsure, status.why);
    }
    if (IoStatus status = ReplaceBoth(newScore, newHolder); !status.ok()) {
        // Put the old pair back; should that fail too, the mark stays and the next read
        // finishes this save.
        if (ReplaceBoth(oldScore, oldHolder).ok() && DropCommitMark().ok())
            return failed(SaveOutcome::failed, status.why);
        return failed(SaveOutcome::failedUnsure, status.why);
    }
    // Both files hold the new pair. A mark that cannot be removed only makes the next read
    // write the same pair again.
    DropCommitMark();
    return {SaveOutcome::saved, {}};
}

IoStatus RecordStore::Commit(const std::string& scoreBytes, const std::string& holderBytes)
{
    if (IoStatus status = ReplaceWhole(files_, temporaryPath(), pathOf(kCommitMarkName),
                                       EncodeCommitMark(scoreBytes, holderBytes));
        !status.ok())
        return status;
    // The mark must be on the disk before either record file changes.
    return files_.syncDirectory(dir_);
}

IoStatus RecordStore::DropCommitMark()
{
    if (IoStatus status = files_.remove(pathOf(kCommitMarkName)); !status.ok()) return status;
    return files_.syncDirectory(dir_);
}

IoStatus RecordStore::ReplaceBoth(const std::string& scoreBytes, const std::string& holderBytes)
{
    for (const auto& [path, bytes] : {std::pair{scorePath(), scoreBytes}, std::pair{holderPath(), holderBytes}})
        if (IoStatus status = ReplaceWhole(files_, temporaryPath(), path, bytes); !status.ok()) return status;
    // Both renames must be on the disk before the mark may go.
    return files_.syncDirectory(dir_);
}

IoStatus RecordStore::FinishInterruptedSave()
{
    const std::string markPath = pathOf(kCommitMarkName);
    std::string mark;
    const IoStatus read = files_.readHead(markPath, kRecordReadLimit * 3, mark);
    if (read.kind == IoStatus::Kind::missing) return IoStatus::success();
    if (read.kind == IoStatus::Kind::notAFile) {
        // Every mark a save makes is a regular file: this was never one, and the record files
        // were never touched for it. Whatever cannot be removed stops saves, not reading.
        if (files_.remove(markPath).ok()) return IoStatus::success();
        return IoStatus::notAFile(read.why + "\nFinché qualcuno non lo toglie, nessun record potrà essere salvato.");
    }
    if (!read.ok()) return read;
    // A mark is put in place only once it is whole on the disk: one that does not decode was
    // never committed, and the record files were never touched for it.
    if (const auto pair = DecodeCommitMark(mark)) {
        bool pending = false;
        if (IoStatus status = IsPending(*pair, pending); !status.ok()) return status;
        if (pending) {
            if (IoStatus status = ReplaceBoth(pair->first, pair->second); !status.ok())
                return IoStatus::failure("Non riesco a completare il salvataggio interrotto del record.\n" + status.why);
        }
    }
    return DropCommitMark();
}

IoStatus RecordStore::IsPending(const std::pair<std::string, std::string>& mark, bool& pending)
{
    std::string score;
    std::string holder;
    for (auto [path, bytes] : {std::pair{scorePath(), &score}, std::pair{holderPath(), &holder}}) {
        const IoStatus status = files_.readHead(path, kRecordReadLimit, *bytes);
        if (!status.ok() && status.kind != IoStatus::Kind::missing) return IoStatus::failure(status.why);
    }
    // The save stopped between its two replacements: the score is in place, the name not yet.
    if (score == mark.first) {
        pending = holder != mark.second;
        return IoStatus::success();
    }
    // Otherwise only a mark that still beats the stored record is carried out; any other was
    // left behind by a save that is long over, and must not bring back a worse record.
    std::string markScore = mark.first;
    if (markScore.size() >= 2 && markScore.compare(markScore.size() - 2, 2, "\r\n") == 0)
        markScore.resize(markScore.size() - 2);
    pending = ScoreBeatsRecord(Cp1252ToUtf8(score), Cp1252ToUtf8(markScore));
    return IoStatus::success();
}

IoStatus RecordStore::RemoveLeftovers()
{
    std::vector<std::string> names;
    if (IoStatus status = files_.list(dir_, names); !status.ok()) return status;
    for (const std::string& name : names)
        if (IsTemporaryName(name))
            if (IoStatus status = files_.remove(pathOf(name.c_str())); !status.ok()) return status;
    return IoStatus::success();
}

}  // namespace brivana
