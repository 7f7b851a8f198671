#include "system/system_record_place.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "game/record_store.h"
#include "system/system_file_access.h"
#include "system/wide_text_windows.h"
#include "windows_files.h"

namespace brivana::windows_test {
namespace {

// The per-user folder does not exist before each test and is removed after it.
class RecordFallback : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!InThrowawayWinePrefix())
            GTEST_SKIP() << "creates the per-user folder only in a throw-away Wine prefix";
        userDir_ = UserRecordDirectory();
        ASSERT_FALSE(IsDirectory(userDir_)) << userDir_ << " already exists: run in a throw-away WINEPREFIX";
        cleanUp_ = true;
    }

    void TearDown() override
    {
        if (!cleanUp_) return;
        for (const std::string& name : FilesMatching(userDir_, "*"))
            if (name != "." && name != "..") RemoveFile(userDir_ + name);
        RemoveDirectoryA(userDir_.c_str());
        EXPECT_FALSE(IsDirectory(userDir_));
    }

    std::string userDir_;

private:
    bool cleanUp_ = false;
};

TEST_F(RecordFallback, GoesToTheCreatedUserFolderAndTellsThePlayerWhenTheSharedFolderRefusesFiles)
{
    // Wine's drive Z: is the root of the Unix file system, and not even root creates files in /proc.
    const std::string closed = "Z:\\proc\\";
    ASSERT_TRUE(IsDirectory(closed)) << "needs Wine's drive Z: on /";
    ASSERT_FALSE(CanKeepRecordsIn(closed));

    SystemRecordPlace place(closed, userDir_, CanKeepRecordsIn);
    const RecordLocation location = place.locate();

    EXPECT_EQ(location.dir, userDir_);
    EXPECT_TRUE(IsDirectory(userDir_));
    EXPECT_NE(location.notice.find("Non posso scrivere il record nella cartella comune " + closed),
              std::string::npos)
        << location.notice;
    EXPECT_NE(location.notice.find("nella tua cartella personale " + userDir_), std::string::npos)
        << location.notice;

    SystemFileAccess files;
    RecordStore store(files, location.dir);
    ASSERT_TRUE(store.Read().problems.empty());
    ASSERT_EQ(store.SaveRecord("12", "Dario").outcome, SaveOutcome::saved);
    EXPECT_EQ(ReadBytes(userDir_ + "briv2s.txt"), "12\r\n");
    EXPECT_EQ(ReadBytes(userDir_ + "nbriv2s.txt"), "Dario\r\n");
}

TEST_F(RecordFallback, GoesToTheUserFolderWithoutANoticeWhenTheSharedPlaceIsAFile)
{
    char temporaryDir[MAX_PATH];
    char file[MAX_PATH];
    ASSERT_GT(GetTempPathA(MAX_PATH, temporaryDir), 0u);
    ASSERT_NE(GetTempFileNameA(temporaryDir, "brv", 0, file), 0u);
    const std::string shared = std::string(file) + "\\";

    SystemRecordPlace place(shared, userDir_, CanKeepRecordsIn);
    const RecordLocation location = place.locate();
    DeleteFileA(file);

    EXPECT_EQ(location.dir, userDir_);
    EXPECT_TRUE(IsDirectory(userDir_));
    EXPECT_EQ(location.notice, "") << "a file is no shared folder: there is nothing to tell";
}

}  // namespace
}  // namespace brivana::windows_test
