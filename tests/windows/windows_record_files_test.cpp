#include "game/record_store.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "system/system_file_access.h"
#include "system/wide_text_windows.h"
#include "windows_directory_fixture.h"

namespace brivana::windows_test {
namespace {

class RecordFilesInWindowsDirectory : public WindowsDirectoryTest {
protected:
    SystemFileAccess files_;
};

TEST_F(RecordFilesInWindowsDirectory, AreCreatedEmptyWhenMissing)
{
    RecordStore store(files_, dir_);
    ASSERT_TRUE(store.Read().problems.empty());
    EXPECT_EQ(ReadBytes(plainPath("briv2s.txt")), std::string());
    EXPECT_EQ(ReadBytes(plainPath("nbriv2s.txt")), std::string());
}

TEST_F(RecordFilesInWindowsDirectory, AreLeftAsTheyAreWhenPresent)
{
    ASSERT_TRUE(WriteBytes(plainPath("briv2s.txt"), "17\r\n"));
    ASSERT_TRUE(WriteBytes(plainPath("nbriv2s.txt"), "Anna\r\n"));
    RecordStore store(files_, dir_);
    ASSERT_TRUE(store.Read().problems.empty());
    EXPECT_EQ(ReadBytes(plainPath("briv2s.txt")), "17\r\n");
    EXPECT_EQ(ReadBytes(plainPath("nbriv2s.txt")), "Anna\r\n");
}

TEST_F(RecordFilesInWindowsDirectory, AreAddressedWithOneBackslash)
{
    RecordStore store(files_, dir_);
    EXPECT_EQ(store.scorePath(), dir_ + "briv2s.txt");
    EXPECT_EQ(store.holderPath(), dir_ + "nbriv2s.txt");

    char full[MAX_PATH];
    ASSERT_GT(GetFullPathNameA(store.scorePath().c_str(), MAX_PATH, full, nullptr), 0u);
    EXPECT_EQ(std::string(full), plainPath("briv2s.txt"));

    ASSERT_TRUE(WriteBytes(plainPath("briv2s.txt"), "17\r\n"));
    std::string text;
    ASSERT_TRUE(store.Leggifiletxt(store.scorePath(), text).ok());
    EXPECT_EQ(text, "17\r\n");
}

TEST_F(RecordFilesInWindowsDirectory, HoldExactlyTheSavedLinesInWindows1252WithCrLf)
{
    RecordStore store(files_, dir_);
    ASSERT_TRUE(store.Read().problems.empty());
    const SaveResult result = store.SaveRecord("23", "Niccolò");
    ASSERT_EQ(result.outcome, SaveOutcome::saved) << result.why;
    EXPECT_EQ(ReadBytes(plainPath("briv2s.txt")), "23\r\n");
    EXPECT_EQ(ReadBytes(plainPath("nbriv2s.txt")), "Niccol\xF2\r\n");
}

TEST_F(RecordFilesInWindowsDirectory, AreBothReplacedByASaveThatLeavesNoTemporaryFile)
{
    ASSERT_TRUE(WriteBytes(plainPath("briv2s.txt"), "5\r\n"));
    ASSERT_TRUE(WriteBytes(plainPath("nbriv2s.txt"), "Anna\r\n"));
    RecordStore store(files_, dir_);
    const SaveResult result = store.SaveRecord("23", "Bruno");
    ASSERT_EQ(result.outcome, SaveOutcome::saved) << result.why;
    EXPECT_EQ(ReadBytes(plainPath("briv2s.txt")), "23\r\n");
    EXPECT_EQ(ReadBytes(plainPath("nbriv2s.txt")), "Bruno\r\n");
    EXPECT_TRUE(FilesMatching(dir_, "brivana-*.tmp").empty());
    EXPECT_TRUE(FilesMatching(dir_, "brivana.commit").empty());
}

TEST_F(RecordFilesInWindowsDirectory, WithAnEmptyNameHoldJustALineEnd)
{
    RecordStore store(files_, dir_);
    ASSERT_EQ(store.SaveRecord("5", "").outcome, SaveOutcome::saved);
    EXPECT_EQ(ReadBytes(plainPath("briv2s.txt")), "5\r\n");
    EXPECT_EQ(ReadBytes(plainPath("nbriv2s.txt")), "\r\n");
}

TEST(RecordFilesInAFolderOutsideTheCodePage, AreSavedAndReadBack)
{
    wchar_t temporary[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temporary), 0u);
    const std::wstring folder = std::wstring(temporary) + L"brivana \u4e2d\u6587 \u03a9\\";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    SystemFileAccess files;
    RecordStore store(files, Utf8(folder));
    const SaveResult result = store.SaveRecord("9", "Zoë");
    const RecordReading reading = store.Read();
    for (const wchar_t* name : {L"briv2s.txt", L"nbriv2s.txt", L"brivana.lock"}) DeleteFileW((folder + name).c_str());
    EXPECT_TRUE(RemoveDirectoryW(folder.c_str())) << "nothing else left in the folder";
    EXPECT_EQ(result.outcome, SaveOutcome::saved) << result.why;
    EXPECT_TRUE(reading.problems.empty());
    EXPECT_EQ(reading.score, "9\r\n");
    EXPECT_EQ(reading.holder, "Zoë\r\n");
}

}  // namespace
}  // namespace brivana::windows_test
