#include "game/record_store.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include <windows.h>

#include "forwarding_file_access.h"
#include "system/system_file_access.h"
#include "windows_directory_fixture.h"

namespace brivana::windows_test {
namespace {

using namespace std::chrono_literals;

class RecordLockInWindowsDirectory : public WindowsDirectoryTest {
protected:
    std::unique_ptr<FileLock> takeLock(std::chrono::milliseconds wait)
    {
        std::unique_ptr<FileLock> lock;
        SystemFileAccess files;
        return files.lockFolder(dir_, wait, lock).ok() ? std::move(lock) : nullptr;
    }
};

TEST_F(RecordLockInWindowsDirectory, IsRefusedToASecondTakerUntilReleased)
{
    std::unique_ptr<FileLock> first = takeLock(0ms);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(takeLock(100ms), nullptr);
    // Nobody can delete the lock file from under a game that holds it, so the lock cannot be split.
    EXPECT_FALSE(DeleteFileA(plainPath("brivana.lock").c_str()));
    EXPECT_EQ(takeLock(0ms), nullptr);
    first.reset();
    EXPECT_NE(takeLock(0ms), nullptr);
}

TEST_F(RecordLockInWindowsDirectory, HeldByAnotherGameMakesTheSaveFailSoonAndTouchNothing)
{
    ASSERT_TRUE(WriteBytes(plainPath("briv2s.txt"), "5\r\n"));
    ASSERT_TRUE(WriteBytes(plainPath("nbriv2s.txt"), "Anna\r\n"));
    std::unique_ptr<FileLock> otherGame = takeLock(0ms);
    ASSERT_NE(otherGame, nullptr);

    SystemFileAccess files;
    RecordStore store(files, dir_, 200ms);
    const auto start = std::chrono::steady_clock::now();
    const SaveResult result = store.SaveRecord("40", "Carla");
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_EQ(result.outcome, SaveOutcome::failed);
    EXPECT_NE(result.why.find("brivana.lock"), std::string::npos) << result.why;
    EXPECT_GE(elapsed, 200ms);
    EXPECT_LT(elapsed, 2s);
    EXPECT_EQ(ReadBytes(plainPath("briv2s.txt")), "5\r\n");
    EXPECT_EQ(ReadBytes(plainPath("nbriv2s.txt")), "Anna\r\n");

    otherGame.reset();
    EXPECT_EQ(store.SaveRecord("40", "Carla").outcome, SaveOutcome::saved);
    EXPECT_EQ(ReadBytes(plainPath("briv2s.txt")), "40\r\n");
}

// Real file access that, each time a record file is about to be replaced, tries what another
// game would: to take the lock itself.
class LockProbingFiles final : public brivana::testing::ForwardingFileAccess {
public:
    explicit LockProbingFiles(std::string dir) : dir_(std::move(dir)) {}

    int replacements = 0;
    int lockTakenDuringReplace = 0;

    IoStatus replace(const std::string& from, const std::string& to) override
    {
        ++replacements;
        std::unique_ptr<FileLock> other;
        SystemFileAccess otherGame;
        if (otherGame.lockFolder(dir_, 50ms, other).ok()) ++lockTakenDuringReplace;
        other.reset();
        return real_.replace(from, to);
    }

private:
    std::string dir_;
};

TEST_F(RecordLockInWindowsDirectory, IsHeldByASaveWhileItReplacesTheFilesAndReleasedAfter)
{
    LockProbingFiles files(dir_);
    RecordStore store(files, dir_);
    const SaveResult result = store.SaveRecord("23", "Bruno");
    ASSERT_EQ(result.outcome, SaveOutcome::saved) << result.why;
    EXPECT_EQ(files.replacements, 3) << "the commit mark, then the two record files";
    EXPECT_EQ(files.lockTakenDuringReplace, 0);
    EXPECT_NE(takeLock(0ms), nullptr);
}

}  // namespace
}  // namespace brivana::windows_test
