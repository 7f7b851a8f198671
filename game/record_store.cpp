#include "game/record_store.h"

#include <utility>

#include "game/cp1252.h"
#include "game/text_rules.h"

namespace brivana {

bool ScoreBeatsRecord(const std::string& lblpuntiText, const std::string& lblScoreText)
{
    const double record = LeadingNumber(lblpuntiText);
    const long long score = StrictNumber(lblScoreText).value_or(0);
    return static_cast<double>(score) > record;
}

RecordStore::RecordStore(FileAccess& files, std::string recordDir, std::chrono::milliseconds lockWait)
    : files_(files), dir_(std::move(recordDir)), lockWait_(lockWait)
{
}

std::string RecordStore::pathOf(const char* fileName) const
{
#ifdef _WIN32
    return dir_ + "\\" + fileName;
#else
    return dir_ + "/" + fileName;
#endif
}

std::string RecordStore::scorePath() const { return pathOf(kScoreFileName); }
std::string RecordStore::holderPath() const { return pathOf(kHolderFileName); }

IoStatus RecordStore::EnsureRecordFiles()
{
    IoStatus status = files_.ensureFile(scorePath());
    if (!status.ok()) return status;
    return files_.ensureFile(holderPath());
}

IoStatus RecordStore::Leggifiletxt(const std::string& path, std::string& text)
{
    std::string bytes;
    IoStatus status = files_.readHead(path, kRecordReadLimit, bytes);
    text = status.ok() ? Cp1252ToUtf8(bytes) : std::string();
    return status;
}

SaveResult RecordStore::SaveRecord(const std::string& scoreText, const std::string& holderName)
{
    const auto failed = [](const IoStatus& status) { return SaveResult{SaveOutcome::failed, status.why}; };

    // The lock file is never replaced, so every game that saves here meets the same lock.
    std::unique_ptr<FileLock> lock;
    if (IoStatus status = files_.lockExclusive(pathOf(kLockFileName), lockWait_, lock); !status.ok())
        return failed(status);

    // Another game may have saved a better record since this one read it.
    std::string storedScore;
    const IoStatus readStatus = files_.readHead(scorePath(), kRecordReadLimit, storedScore);
    if (readStatus.ok() && !ScoreBeatsRecord(Cp1252ToUtf8(storedScore), scoreText))
        return {SaveOutcome::notBetter, {}};
    const bool hadScoreFile = readStatus.ok();

    // Everything new reaches the disk before anything old is touched.
    const std::string newScore = scorePath() + ".new";
    const std::string newHolder = holderPath() + ".new";
    const std::string oldScore = scorePath() + ".old";
    const auto discardTemporaries = [&] {
        files_.remove(newScore);
        files_.remove(newHolder);
        files_.remove(oldScore);
    };
    for (const auto& [path, bytes] : {std::pair{newScore, Utf8ToCp1252(scoreText) + "\r\n"},
                                      std::pair{newHolder, Utf8ToCp1252(holderName) + "\r\n"},
                                      std::pair{oldScore, storedScore}}) {
        if (path == oldScore && !hadScoreFile) continue;
        if (IoStatus status = files_.writeDurably(path, bytes); !status.ok()) {
            discardTemporaries();
            return failed(status);
        }
    }

    if (IoStatus status = files_.replace(newScore, scorePath()); !status.ok()) {
        discardTemporaries();
        return failed(status);
    }
    if (IoStatus status = files_.replace(newHolder, holderPath()); !status.ok()) {
        // The score is new but the holder is not: put the old score back.
        if (hadScoreFile) files_.replace(oldScore, scorePath());
        else if (readStatus.kind == IoStatus::Kind::missing) files_.remove(scorePath());
        discardTemporaries();
        files_.syncDirectory(dir_);
        return failed(status);
    }
    files_.remove(oldScore);
    if (IoStatus status = files_.syncDirectory(dir_); !status.ok()) return failed(status);
    return {SaveOutcome::saved, {}};
}

}  // namespace brivana
