// The record files: exact bytes, damaged or strange files, failed and concurrent saves.
#include "game/record_store.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "fake_services.h"
#include "game/system_file_access.h"
#include "game/system_record_place.h"
#include "game/text_rules.h"
#include "game_fixture.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace brivana::testing {
namespace {

namespace fs = std::filesystem;

TEST(ScoreBeatsRecord, OnlyAStrictlyGreaterScoreBeatsTheRecord)
{
    EXPECT_TRUE(ScoreBeatsRecord("", "1"));
    EXPECT_TRUE(ScoreBeatsRecord("7\r\n", "8"));
    EXPECT_FALSE(ScoreBeatsRecord("7\r\n", "7"));
    EXPECT_FALSE(ScoreBeatsRecord("", "0"));
    EXPECT_TRUE(ScoreBeatsRecord("non un numero", "1"));
    EXPECT_FALSE(ScoreBeatsRecord("9e999", "32767"));
}

class RecordFiles : public ::testing::Test {
protected:
    TempDir dir;
    SystemFileAccess files;
    RecordStore store{files, dir.recordDir()};
};

TEST_F(RecordFiles, AreAddressedWithADoubledSeparatorThatStillReachesTheDirectory)
{
    const std::string separator(1, static_cast<char>(fs::path::preferred_separator));
    EXPECT_EQ(store.scorePath(), dir.recordDir() + separator + "briv2s.txt");
    ASSERT_TRUE(store.EnsureRecordFiles().ok());
    EXPECT_TRUE(fs::is_regular_file(dir.file("briv2s.txt")));
    EXPECT_TRUE(fs::is_regular_file(dir.file("nbriv2s.txt")));
}

TEST_F(RecordFiles, AreCreatedEmptyWhenMissingAndLeftAloneWhenPresent)
{
    WriteBytes(dir.file("briv2s.txt"), "9\r\n");
    ASSERT_TRUE(store.EnsureRecordFiles().ok());
    EXPECT_EQ(ReadBytes(dir.file("briv2s.txt")), "9\r\n");
    EXPECT_EQ(ReadBytes(dir.file("nbriv2s.txt")), "");
}

TEST_F(RecordFiles, SaveWritesExactlyTheTextsWithCrLfInWindows1252)
{
    ASSERT_EQ(store.SaveRecord("5", "").outcome, SaveOutcome::saved);
    EXPECT_EQ(ReadBytes(dir.file("briv2s.txt")), "5\r\n");
    EXPECT_EQ(ReadBytes(dir.file("nbriv2s.txt")), "\r\n");

    ASSERT_EQ(store.SaveRecord("23", "Zoë € 中").outcome, SaveOutcome::saved);
    EXPECT_EQ(ReadBytes(dir.file("briv2s.txt")), "23\r\n");
    EXPECT_EQ(ReadBytes(dir.file("nbriv2s.txt")), "Zo\xEB \x80 ?\r\n");
    EXPECT_EQ(fs::directory_entry(dir.path()).exists(), true);
    for (const auto& entry : fs::directory_iterator(dir.path()))
        EXPECT_TRUE(entry.path().filename() == "briv2s.txt" || entry.path().filename() == "nbriv2s.txt" ||
                    entry.path().filename() == "brivana.lock")
            << "left behind: " << entry.path();
}

TEST_F(RecordFiles, ReadBackAsTextWithTheLineEnd)
{
    WriteBytes(dir.file("nbriv2s.txt"), "Niccol\xF2\r\n");
    std::string text;
    ASSERT_TRUE(store.Leggifiletxt(store.holderPath(), text).ok());
    EXPECT_EQ(text, "Niccolò\r\n");
}

TEST_F(RecordFiles, ANewerBetterRecordIsNeverOverwrittenByAWorseOne)
{
    WriteBytes(dir.file("briv2s.txt"), "9\r\n");
    WriteBytes(dir.file("nbriv2s.txt"), "Bea\r\n");
    EXPECT_EQ(store.SaveRecord("5", "Anna").outcome, SaveOutcome::notBetter);
    EXPECT_EQ(store.SaveRecord("9", "Anna").outcome, SaveOutcome::notBetter);
    EXPECT_EQ(ReadBytes(dir.file("briv2s.txt")), "9\r\n");
    EXPECT_EQ(ReadBytes(dir.file("nbriv2s.txt")), "Bea\r\n");
}

TEST_F(RecordFiles, ASaveWaitsForTheLockOnlySoLongThenFailsLeavingEverything)
{
    WriteBytes(dir.file("briv2s.txt"), "3\r\n");
    WriteBytes(dir.file("nbriv2s.txt"), "Bea\r\n");
    std::unique_ptr<FileLock> held;
    ASSERT_TRUE(files.lockExclusive(dir.file("brivana.lock"), std::chrono::milliseconds(0), held).ok());

    RecordStore impatient(files, dir.recordDir(), std::chrono::milliseconds(300));
    const auto start = std::chrono::steady_clock::now();
    const SaveResult result = impatient.SaveRecord("8", "Anna");
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(result.outcome, SaveOutcome::failed);
    EXPECT_NE(result.why.find("un'altra partita"), std::string::npos) << result.why;
    EXPECT_GE(waited, std::chrono::milliseconds(300));
    EXPECT_LT(waited, std::chrono::seconds(3));
    EXPECT_EQ(ReadBytes(dir.file("briv2s.txt")), "3\r\n");

    held.reset();
    EXPECT_EQ(impatient.SaveRecord("8", "Anna").outcome, SaveOutcome::saved);
}

class FailingSave : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteBytes(dir.file("briv2s.txt"), "4\r\n");
        WriteBytes(dir.file("nbriv2s.txt"), "Bea\r\n");
    }
    void ExpectOldRecordIntact()
    {
        EXPECT_EQ(ReadBytes(dir.file("briv2s.txt")), "4\r\n");
        EXPECT_EQ(ReadBytes(dir.file("nbriv2s.txt")), "Bea\r\n");
        std::size_t entries = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path())) ++entries;
        EXPECT_EQ(entries, 3u) << "the two record files and the lock, no temporary left";
    }

    TempDir dir;
    FaultyFileAccess files;
    RecordStore store{files, dir.recordDir()};
};

TEST_F(FailingSave, OnAFullDiskReplacesNothing)
{
    files.diskFull = true;
    const SaveResult result = store.SaveRecord("12", "Anna");
    EXPECT_EQ(result.outcome, SaveOutcome::failed);
    EXPECT_NE(result.why.find("disco è pieno"), std::string::npos);
    EXPECT_EQ(files.replaceCalls, 0);
    ExpectOldRecordIntact();
}

TEST_F(FailingSave, WhenTheHolderCannotBeReplacedPutsTheOldScoreBack)
{
    files.failReplaceCall = 2;
    EXPECT_EQ(store.SaveRecord("12", "Anna").outcome, SaveOutcome::failed);
    ExpectOldRecordIntact();
}

TEST_F(FailingSave, WhenTheScoreCannotBeReplacedTouchesNothing)
{
    files.failReplaceCall = 1;
    EXPECT_EQ(store.SaveRecord("12", "Anna").outcome, SaveOutcome::failed);
    ExpectOldRecordIntact();
}

// Whole games meeting a broken record directory: the player is told, the game goes on.
class BrokenRecord : public GameFixture {};

TEST_F(BrokenRecord, AFailedSaveAtTheEndIsReportedAndTheOldRecordKept)
{
    WriteBytes(dir.file("briv2s.txt"), "0\r\n");
    WriteBytes(dir.file("nbriv2s.txt"), "Bea\r\n");
    StartGame("Anna", 0.5, 0.5, 0.5);
    AnswerRight();
    files.failReplaceCall = files.replaceCalls + 2;
    game.cmdExit_Click();
    const auto messages = view.messages();
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(messages[messages.size() - 1].rfind("Non sono riuscito a salvare il tuo record.", 0), 0u);
    EXPECT_EQ(view.dialogs.back().style, MsgStyle::okExclamation);
    EXPECT_EQ(view.programEnds, 1);
    EXPECT_EQ(ScoreFile(), "0\r\n");
    EXPECT_EQ(HolderFile(), "Bea\r\n");
}

TEST_F(BrokenRecord, AScoreFileThatIsADirectoryReadsAsNoRecordWithOneMessage)
{
    fs::create_directory(dir.file("briv2s.txt"));
    StartGame("Anna", 0.5, 0.5, 0.5);
    const auto messages = view.messages();
    ASSERT_EQ(messages.size(), 2u) << "the greeting and one message about the record";
    EXPECT_NE(messages[1].find("Non riesco a leggere il record"), std::string::npos);
    EXPECT_NE(messages[1].find("non è un file normale"), std::string::npos) << messages[1];
    EXPECT_EQ(view.text(Field::lblpunti), "");

    AnswerRight();  // the game goes on, and the record counts as 0
    EXPECT_EQ(view.messages().back(), "E' record");
}

TEST_F(BrokenRecord, ARecordDirectoryThatCannotBeCreatedIsReportedAndTheGameGoesOn)
{
    WriteBytes(dir.file("occupied"), "");
    SystemRecordPlace place(dir.file("nowhere") + "/", dir.file("occupied") + "/brivana/");
    const RecordLocation location = place.locate();
    EXPECT_NE(location.notice.find("Non riesco a creare la cartella"), std::string::npos) << location.notice;

    FixedRecordPlace broken(location.dir, location.notice);
    Game other(view, Services{random, dateTime, broken, files});
    view.inputAnswers.push_back("Anna");
    other.Form_Load();
    ASSERT_EQ(view.messages().size(), 2u);
    EXPECT_NE(view.messages()[1].find("Non riesco a creare la cartella"), std::string::npos);
    EXPECT_EQ(view.text(Field::lblpunti), "");
    EXPECT_EQ(view.text(Field::lblconto), "00:15:00");
}

#ifndef _WIN32
TEST_F(BrokenRecord, AFifoInPlaceOfTheScoreFileIsNeverOpened)
{
    ASSERT_EQ(::mkfifo(dir.file("briv2s.txt").c_str(), 0600), 0);
    const auto start = std::chrono::steady_clock::now();
    StartGame("Anna", 0.5, 0.5, 0.5);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_NE(view.messages()[1].find("non è un file normale"), std::string::npos);
    EXPECT_EQ(view.text(Field::lblpunti), "");
}

TEST_F(BrokenRecord, AHugeSparseScoreFileIsReadOnlyAsFarAsItsFirst64KiB)
{
    {
        const int fd = ::open(dir.file("briv2s.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, "42", 2), 2);
        ASSERT_EQ(::ftruncate(fd, off_t{8} << 30), 0);  // 8 GiB, almost all of it a hole
        ::close(fd);
    }
    StartGame("Anna", 0.5, 0.5, 0.5);
    EXPECT_EQ(view.text(Field::lblpunti).size(), kRecordReadLimit);
    EXPECT_EQ(LeadingNumber(view.text(Field::lblpunti)), 42);
    EXPECT_EQ(view.messages().size(), 1u);
}

TEST_F(BrokenRecord, ALinkToADeviceInPlaceOfTheHolderFileIsRefused)
{
    fs::create_symlink("/dev/zero", dir.file("nbriv2s.txt"));
    StartGame("Anna", 0.5, 0.5, 0.5);
    EXPECT_NE(view.messages()[1].find("non è un file normale"), std::string::npos);
    EXPECT_EQ(view.text(Field::lblnome), "");
}
#endif

TEST(SystemRecordPlace, UsesTheSharedDirectoryWhenItCanHoldFiles)
{
    TempDir shared;
    TempDir personal;
    SystemRecordPlace place(shared.recordDir(), personal.recordDir() + "brivana/");
    const RecordLocation location = place.locate();
    EXPECT_EQ(location.dir, shared.recordDir());
    EXPECT_EQ(location.notice, "");
    EXPECT_TRUE(fs::is_empty(shared.path())) << "the probe leaves nothing behind";
}

TEST(SystemRecordPlace, FallsBackToTheUsersOwnDirectoryAndCreatesIt)
{
    TempDir personal;
    const std::string userDir = personal.recordDir() + "dati" + "/brivana/";
    SystemRecordPlace missing(personal.file("non-installato") + "/", userDir);
    RecordLocation location = missing.locate();
    EXPECT_EQ(location.dir, userDir);
    EXPECT_EQ(location.notice, "") << "no shared place at all is nothing to tell";
    EXPECT_TRUE(fs::is_directory(userDir));

#ifndef _WIN32
    // A link is no place for a shared record: someone could point it anywhere.
    fs::create_directory(personal.file("altrove"));
    fs::create_directory_symlink(personal.file("altrove"), personal.file("collegamento"));
    SystemRecordPlace closed(personal.file("collegamento") + "/", userDir);
    location = closed.locate();
    EXPECT_EQ(location.dir, userDir);
    EXPECT_NE(location.notice.find("cartella personale"), std::string::npos);
#endif
}

}  // namespace
}  // namespace brivana::testing
