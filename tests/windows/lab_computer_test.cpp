// One computer of a lab made of Wine prefixes that share one \\server\share folder, driven by
// scripts/check-windows-lab.sh: these run only when it names the lab's folder in BRIVANA_LAB_DIR.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>

#include "game/record_store.h"
#include "system/record_pipe_windows.h"
#include "system/system_file_access.h"
#include "system/system_record_place.h"
#include "windows_files.h"

namespace brivana::windows_test {
namespace {

using Clock = std::chrono::steady_clock;

class LabComputer : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = Environment("BRIVANA_LAB_DIR");
        if (dir_.empty()) GTEST_SKIP() << "only as a computer of scripts/check-windows-lab.sh";
    }
    std::chrono::milliseconds EnvironmentMs(const char* name) const
    {
        return std::chrono::milliseconds(std::stoi(Environment(name)));
    }
    std::string dir_;
};

// The name saved with a score.
std::string HolderOf(const std::string& score)
{
    std::ostringstream name;
    name << 'P' << score;
    return name.str();
}

// The score of a pair saved whole (every score is saved with the name "P<score>"), 0 for the
// empty record, -1 for anything else: a torn pair, or a record that could not be read.
int WholePairScore(const RecordReading& reading)
{
    const auto line = [](std::string text) { return text.substr(0, text.find('\r')); };
    if (!reading.complete) return -1;
    if (reading.score.empty() && reading.holder.empty()) return 0;
    const std::string score = line(reading.score);
    return line(reading.holder) == HolderOf(score) ? std::stoi(score) : -1;
}

TEST_F(LabComputer, HoldsTheLock)
{
    SystemFileAccess files;
    std::unique_ptr<FileLock> lock;
    ASSERT_TRUE(files.lockFolder(dir_, std::chrono::milliseconds(0), lock).ok());
    std::printf("held\n");
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(EnvironmentMs("BRIVANA_LAB_HOLD_MS").count()));
}

TEST_F(LabComputer, WaitsForTheLock)
{
    SystemFileAccess files;
    std::unique_ptr<FileLock> lock;
    const auto start = Clock::now();
    const IoStatus status = files.lockFolder(dir_, EnvironmentMs("BRIVANA_LAB_WAIT_MS"), lock);
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    std::printf("%s after %lld ms\n", status.ok() ? "got" : "busy", static_cast<long long>(waited.count()));
}

// The record service, or with BRIVANA_LAB_VIA=store the record store itself, and the folder to
// name to it: the game names this computer's shared folder, and the service goes to the server.
struct Keeper {
    explicit Keeper(const std::string& labDir) : store(files), dir(labDir)
    {
        if (Environment("BRIVANA_LAB_VIA") == "store") return;
        dir = SharedRecordDirectory();
        service = RecordPipeClient::Find(InstalledRecordPipe(), dir, store);
    }
    RecordKeeper& get() { return service ? static_cast<RecordKeeper&>(*service) : store; }

    SystemFileAccess files;
    LocalRecordKeeper store;
    std::unique_ptr<RecordPipeClient> service;
    std::string dir;
};

// Saves the scores BRIVANA_LAB_SCORES ("first step count") through the record service, or
// with BRIVANA_LAB_VIA=store through the record store itself, and reads the record after each:
// always a pair saved whole, never a worse one than the last seen. Where BRIVANA_LAB_GO names a
// file, the saves start once it exists, so that two computers start together.
TEST_F(LabComputer, SavesAndReadsOnlyWholePairsNeverGoingBack)
{
    std::istringstream scores(Environment("BRIVANA_LAB_SCORES"));
    int first = 0, step = 0, count = 0;
    ASSERT_TRUE(scores >> first >> step >> count);
    Keeper chosen(dir_);
    if (Environment("BRIVANA_LAB_VIA") != "store") {
        ASSERT_NE(chosen.service, nullptr);
    }
    RecordKeeper& keeper = chosen.get();
    const std::string& dir = chosen.dir;
    const std::string go = Environment("BRIVANA_LAB_GO");
    for (int waited = 0; !go.empty() && GetFileAttributesA(go.c_str()) == INVALID_FILE_ATTRIBUTES; ++waited) {
        ASSERT_LT(waited, 3000) << go << " never appeared";
        Sleep(10);
    }
    int best = WholePairScore(keeper.read(dir)), saved = 0, notBetter = 0, failed = 0;
    ASSERT_GE(best, 0);
    for (int score = first; count-- > 0; score += step) {
        const SaveResult result = keeper.save(dir, std::to_string(score), HolderOf(std::to_string(score)));
        (result.outcome == SaveOutcome::saved ? saved : result.outcome == SaveOutcome::notBetter ? notBetter : failed)++;
        EXPECT_NE(result.outcome, SaveOutcome::failed) << result.why;
        const int seen = WholePairScore(keeper.read(dir));
        ASSERT_GE(seen, best) << "a torn pair, or a worse record than one already seen, after saving " << score;
        ASSERT_GE(seen, result.outcome == SaveOutcome::failed ? 0 : score);
        best = seen;
    }
    std::printf("saved %d, not better %d, failed %d, record %d\n", saved, notBetter, failed, best);
}

// The record as a game reads it at start-up, and how long that took; every problem on a line.
TEST_F(LabComputer, ReadsTheRecord)
{
    Keeper chosen(dir_);
    const auto start = Clock::now();
    const RecordReading reading = chosen.get().read(chosen.dir);
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    std::printf("record %d\n", WholePairScore(reading));
    std::printf("read in %lld ms\n", static_cast<long long>(took.count()));
    for (const std::string& problem : reading.problems) std::printf("problem %s\n", problem.c_str());
}

// Saves the score BRIVANA_LAB_SCORE as a game does at its end, and says what came of it and when.
TEST_F(LabComputer, SavesTheScore)
{
    Keeper chosen(dir_);
    const std::string score = Environment("BRIVANA_LAB_SCORE");
    const auto start = Clock::now();
    const SaveResult result = chosen.get().save(chosen.dir, score, HolderOf(score));
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    const char* const outcomes[] = {"saved", "not better", "failed", "failed unsure", "kept"};
    std::printf("%s in %lld ms\n", outcomes[static_cast<int>(result.outcome)], static_cast<long long>(took.count()));
    std::printf("why %s\n", result.why.c_str());
}

}  // namespace
}  // namespace brivana::windows_test
