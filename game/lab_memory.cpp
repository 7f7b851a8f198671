#include "game/lab_memory.h"

#include <sstream>

#include "game/keeper_requests.h"
#include "game/record_store.h"
#include "game/replace_whole.h"

namespace brivana {

namespace {

constexpr const char* kHeader = "brivana classe 1";
// Written beside the memory and renamed over it; under the lock no other keeper writes it.
constexpr const char* kTemporaryName = "record-classe.tmp";

std::string WithoutLineEnd(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

}  // namespace

std::string EncodeLabMemory(const LabMemory& memory)
{
    const PendingScore none;
    const PendingScore& pending = memory.pending ? *memory.pending : none;
    return std::string(kHeader) + "\n" + memory.seenScore + "\n" + pending.score + "\n" + pending.holder + "\n";
}

std::optional<LabMemory> DecodeLabMemory(const std::string& bytes)
{
    // Written whole with its last line end: anything shorter was never ours.
    if (bytes.empty() || bytes.back() != '\n') return std::nullopt;
    std::istringstream in(bytes);
    std::string header;
    LabMemory memory;
    PendingScore pending;
    if (!std::getline(in, header) || header != kHeader || !std::getline(in, memory.seenScore) ||
        !std::getline(in, pending.score) || !std::getline(in, pending.holder) || in.peek() != EOF)
        return std::nullopt;
    if (!memory.seenScore.empty() && !IsScoreText(memory.seenScore)) return std::nullopt;
    if (!pending.score.empty()) {
        if (!SaveRequestProblem(pending.score, pending.holder).empty()) return std::nullopt;
        memory.pending = std::move(pending);
    } else if (!pending.holder.empty()) {
        return std::nullopt;
    }
    return memory;
}

void RememberClassRecord(LabMemory& memory, const std::string& recordScoreText)
{
    const std::string score = WithoutLineEnd(recordScoreText);
    // A score file the game never wrote counts as it always has (its leading number) when
    // compared, but only a score as the game writes it is remembered.
    memory.seenScore = IsScoreText(score) ? score : std::string();
    if (memory.pending && !ScoreBeatsRecord(recordScoreText, memory.pending->score)) memory.pending.reset();
}

bool KeepPendingScore(LabMemory& memory, const std::string& score, const std::string& holder)
{
    if (!ScoreBeatsRecord(memory.seenScore, score)) return false;
    if (!memory.pending || ScoreBeatsRecord(memory.pending->score, score)) memory.pending = PendingScore{score, holder};
    return memory.pending->score == score && memory.pending->holder == holder;
}

LabMemoryFile::LabMemoryFile(FileAccess& files, std::string dir) : files_(files), dir_(std::move(dir))
{
    if (!dir_.empty() && dir_.back() != '/' && dir_.back() != '\\') dir_ += '/';
}

IoStatus LabMemoryFile::load(LabMemory& memory)
{
    std::unique_ptr<FileLock> lock;
    if (IoStatus status = files_.lockFolder(dir_, kWait, lock); !status.ok()) return status;
    return loadLocked(memory);
}

IoStatus LabMemoryFile::loadLocked(LabMemory& memory)
{
    memory = {};
    std::string bytes;
    const IoStatus status = files_.readHead(dir_ + kLabMemoryName, 4096, bytes);
    if (status.kind == IoStatus::Kind::missing) return IoStatus::success();
    if (!status.ok()) return status;
    memory = DecodeLabMemory(bytes).value_or(LabMemory{});
    return IoStatus::success();
}

IoStatus LabMemoryFile::storeLocked(const LabMemory& memory)
{
    const std::string temporary = dir_ + kTemporaryName;
    // One left by a keeper stopped half-way: only ever written under this lock.
    IoStatus status = files_.remove(temporary);
    if (status.ok()) status = ReplaceWhole(files_, temporary, dir_ + kLabMemoryName, EncodeLabMemory(memory));
    return status.ok() ? files_.syncDirectory(dir_) : status;
}

}  // namespace brivana
