// The record files: exact bytes, damaged or strange files, failed and concurrent saves.
#include "game/record_store.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "fake_services.h"
#include "game/text_rules.h"
#include "game_fixture.h"
#include "power_cut_files.h"
#include "system/register_stamps.h"
#include "system/system_file_access.h"
#include "system/system_record_place.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <thread>

#include "system/record_keeper_process.h"
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

TEST_F(RecordFiles, AreAddressedWithOneSeparator)
{
    // The folder ends in a separator (as the record places give it) or not.
    const std::string separated = dir.recordDir();
    EXPECT_EQ(store.scorePath(), separated + "briv2s.txt");
    EXPECT_EQ(RecordStore(files, separated.substr(0, separated.size() - 1)).holderPath(), separated + "nbriv2s.txt");
    EXPECT_TRUE(store.Read().problems.empty());
    EXPECT_TRUE(fs::is_regular_file(dir.file("briv2s.txt")));
    EXPECT_TRUE(fs::is_regular_file(dir.file("nbriv2s.txt")));
}

TEST_F(RecordFiles, AreCreatedEmptyWhenMissingAndLeftAloneWhenPresent)
{
    WriteBytes(dir.file("briv2s.txt"), "9\r\n");
    const RecordReading reading = store.Read();
    EXPECT_TRUE(reading.problems.empty());
    EXPECT_EQ(reading.score, "9\r\n");
    EXPECT_EQ(ReadBytes(dir.file("briv2s.txt")), "9\r\n");
    EXPECT_EQ(ReadBytes(dir.file("nbriv2s.txt")), "");
}

TEST_F(RecordFiles, SaveWritesExactlyTheTextsWithCrLfInWindows1252)
{
#ifndef _WIN32
    // Readable by the other players whatever this one's file mode mask.
    const mode_t mask = ::umask(077);
    ASSERT_EQ(store.SaveRecord("5", "").outcome, SaveOutcome::saved);
    ::umask(mask);
    for (const char* name : {"briv2s.txt", "nbriv2s.txt"})
        EXPECT_EQ(fs::status(dir.file(name)).permissions() & fs::perms::all, fs::perms(0644)) << name;
#else
    ASSERT_EQ(store.SaveRecord("5", "").outcome, SaveOutcome::saved);
#endif
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
    std::unique_ptr<FileLock> held;
    ASSERT_TRUE(files.lockFolder(dir.recordDir(), std::chrono::milliseconds(0), held).ok());
    // Deleting the record files does not split the lock. (The lock file itself only the keeper
    // could delete: on Windows not even it while a game holds it; on Linux the installed folder
    // and the lab's share are closed to the players.)
    std::error_code refused;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        if (entry.path().filename() != "brivana.lock") fs::remove(entry.path(), refused);
    WriteBytes(dir.file("briv2s.txt"), "3\r\n");
    WriteBytes(dir.file("nbriv2s.txt"), "Bea\r\n");

    RecordStore impatient(files, dir.recordDir(), std::chrono::milliseconds(300));
    const auto start = std::chrono::steady_clock::now();
    const SaveResult result = impatient.SaveRecord("8", "Anna");
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(result.outcome, SaveOutcome::failed);
    EXPECT_NE(result.why.find("occupato"), std::string::npos) << result.why;
    EXPECT_GE(waited, std::chrono::milliseconds(300));
    EXPECT_LT(waited, std::chrono::seconds(3));
    EXPECT_EQ(ReadBytes(dir.file("briv2s.txt")), "3\r\n");
    // Start-up shows the record all the same, or the pair a save under way leads to, and says
    // why it could not be sure.
    RecordReading reading = impatient.Read();
    EXPECT_EQ(reading.score + reading.holder, "3\r\nBea\r\n");
    EXPECT_TRUE(reading.complete);
    EXPECT_NE(reading.problems.at(0).find("occupato"), std::string::npos);
    WriteBytes(dir.file("brivana.commit"), EncodeCommitMark("5\r\n", "Ugo\r\n"));
    reading = impatient.Read();
    EXPECT_EQ(reading.score + reading.holder, "5\r\nUgo\r\n");
    EXPECT_EQ(ReadBytes(dir.file("briv2s.txt")), "3\r\n");

    // A game waits three seconds, unless told otherwise.
    const auto patientStart = std::chrono::steady_clock::now();
    EXPECT_EQ(store.SaveRecord("8", "Anna").outcome, SaveOutcome::failed);
    const auto patientWait = std::chrono::steady_clock::now() - patientStart;
    EXPECT_GE(patientWait, std::chrono::seconds(3));
    EXPECT_LT(patientWait, std::chrono::milliseconds(4500));

    held.reset();
    EXPECT_EQ(impatient.SaveRecord("8", "Anna").outcome, SaveOutcome::saved);
}

TEST(CommitMark, OnlyAWholeMarkDecodes)
{
    const std::string whole = EncodeCommitMark("12\r\n", "Zo\xEB\r\n");
    ASSERT_EQ(DecodeCommitMark(whole), (std::pair<std::string, std::string>{"12\r\n", "Zo\xEB\r\n"}));
    EXPECT_EQ(DecodeCommitMark(EncodeCommitMark("", "")), (std::pair<std::string, std::string>{}));
    const std::string body = "4 7\n12\r\nZo\xEB\r\n";
    for (const std::string& bad :
         {std::string("brivana commit 2\n") + body, std::string("Brivana commit 1\n") + body, std::string("brivana commit 1") + body,
          std::string("brivana commit 1\n4 7"), std::string("brivana commit 1\n4 7x\n12\r\nZo\xEB\r\n"),
          std::string("brivana commit 1\n4\n12\r\nZo\xEB\r\n"), std::string("brivana commit 1\n-4 7\n12\r\nZo\xEB\r\n"),
          whole.substr(0, whole.size() - 1), whole + "x", std::string("brivana commit 1\n99999999 0\n"),
          std::string("brivana commit 1\n18446744073709551615 2\nab"), std::string()})
        EXPECT_FALSE(DecodeCommitMark(bad)) << bad;
}

TEST_F(RecordFiles, ACommitMarkThatNoLongerBeatsTheRecordIsDroppedNotApplied)
{
    WriteBytes(dir.file("briv2s.txt"), "500\r\n");
    WriteBytes(dir.file("nbriv2s.txt"), "Best\r\n");
    WriteBytes(dir.file("brivana.commit"), EncodeCommitMark("10\r\n", "Stale\r\n"));
    const RecordReading reading = store.Read();
    EXPECT_EQ(reading.score + reading.holder, "500\r\nBest\r\n");
    EXPECT_EQ(ReadBytes(dir.file("nbriv2s.txt")), "Best\r\n");
    EXPECT_FALSE(fs::exists(dir.file("brivana.commit")));
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
        for (const auto& entry : fs::directory_iterator(dir.path())) entries += entry.path().filename() != "brivana.lock";
        EXPECT_EQ(entries, 2u) << "the two record files, no temporary left";
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
    SystemRecordPlace place(dir.file("nowhere") + "/", dir.file("occupied") + "/brivana/", CanKeepRecordsIn);
    const RecordLocation location = place.locate();
    EXPECT_NE(location.notice.find("Non riesco a creare la cartella"), std::string::npos) << location.notice;

    FixedRecordPlace broken(location.dir, location.notice);
    Game other(view, Services{random, dateTime, broken, records});
    view.inputAnswers.push_back("Anna");
    other.Form_Load();
    ASSERT_EQ(view.messages().size(), 2u);
    EXPECT_NE(view.messages()[1].find("Non riesco a creare la cartella"), std::string::npos);
    EXPECT_EQ(view.text(Field::lblpunti), "");
    EXPECT_EQ(view.text(Field::lblconto), "00:15:00");
}

#ifndef _WIN32
TEST_F(BrokenRecord, AFifoOrAFolderInPlaceOfARecordFileOrTheCommitMarkIsNeverWaitedOn)
{
    ASSERT_EQ(::mkfifo(dir.file("briv2s.txt").c_str(), 0600), 0);
    const auto start = std::chrono::steady_clock::now();
    StartGame("Anna", 0.5, 0.5, 0.5);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    ASSERT_EQ(view.messages().size(), 2u);
    EXPECT_NE(view.messages()[1].find("Non riesco a leggere il record"), std::string::npos);
    EXPECT_NE(view.messages()[1].find("non è un file normale"), std::string::npos);
    fs::remove(dir.file("briv2s.txt"));

    // No save ever makes a mark that is not a file: the record is whole and is read. A FIFO
    // goes; a folder stays, and only saving is refused, saying why, with nothing promised.
    WriteBytes(dir.file("briv2s.txt"), "5\r\n");
    ASSERT_EQ(::mkfifo(dir.file("brivana.commit").c_str(), 0600), 0);
    view.dialogs.clear();
    StartGame("Anna", 0.5, 0.5, 0.5);
    EXPECT_EQ(view.messages().size(), 1u);
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir.file("brivana.commit"))));
    fs::create_directory(dir.file("brivana.commit"));
    view.dialogs.clear();
    StartGame("Anna", 0.5, 0.5, 0.5);
    ASSERT_EQ(view.messages().size(), 2u);
    EXPECT_EQ(view.messages()[1].find("Non riesco a leggere il record"), std::string::npos) << view.messages()[1];
    EXPECT_EQ(view.text(Field::lblpunti), "5\r\n");
    for (int i = 0; i < 6; ++i) AnswerRight();
    game.cmdExit_Click();
    EXPECT_NE(view.messages().back().find("rimasto com'era"), std::string::npos) << view.messages().back();
    EXPECT_EQ(ScoreFile(), "5\r\n");
}

// The disk itself, under a mask that would hide every new file from the other players.
TEST(SystemFileAccess, NeverWritesThroughWhatAlreadyBearsTheNameAndMakesFilesReadableByAll)
{
    TempDir dir;
    SystemFileAccess files;
    const mode_t mask = ::umask(077);
    WriteBytes(dir.file("altro"), "altro");
    fs::create_hard_link(dir.file("altro"), dir.file("collegato"));
    fs::create_symlink(dir.file("altro"), dir.file("simbolico"));
    for (const char* name : {"collegato", "simbolico"}) EXPECT_FALSE(files.writeNew(dir.file(name), "nuovo").ok());
    EXPECT_FALSE(files.ensureFile(dir.file("simbolico")).ok());
    EXPECT_EQ(files.syncFile(dir.file("simbolico")).kind, IoStatus::Kind::notAFile);
    std::string bytes;
    EXPECT_EQ(files.readHead(dir.file("simbolico"), 100, bytes).kind, IoStatus::Kind::notAFile);
    // Replacing a name replaces the name alone: the file's other name keeps its content.
    ASSERT_TRUE(files.writeNew(dir.file("nuovo"), "nuovo").ok());
    ASSERT_TRUE(files.replace(dir.file("nuovo"), dir.file("collegato")).ok());
    EXPECT_EQ(ReadBytes(dir.file("collegato")), "nuovo");
    EXPECT_EQ(ReadBytes(dir.file("altro")), "altro");
    EXPECT_FALSE(files.replace(dir.file("nuovo"), dir.file("altro")).ok());
    EXPECT_EQ(ReadBytes(dir.file("altro")), "altro");
    ASSERT_TRUE(files.ensureFile(dir.file("vuoto")).ok());
    ::umask(mask);
    for (const char* name : {"collegato", "vuoto"})
        EXPECT_EQ(fs::status(dir.file(name)).permissions() & fs::perms::all, fs::perms(0644)) << name;
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

TEST_F(BrokenRecord, LinksInPlaceOfTheRecordFilesAreNeitherFollowedNorReplaced)
{
    // A classmate's private file, a device, and a link to nothing that a careless open would create.
    WriteBytes(dir.file("privato"), "segreto\r\n");
    fs::permissions(dir.file("privato"), fs::perms::owner_read | fs::perms::owner_write);
    for (const std::string& target : {dir.file("privato"), std::string("/dev/zero"), dir.file("nulla")}) {
        SCOPED_TRACE(target);
        fs::remove(dir.file("briv2s.txt"));
        fs::create_symlink(target, dir.file("briv2s.txt"));
        view.dialogs.clear();
        StartGame("Anna", 0.5, 0.5, 0.5);
        ASSERT_EQ(view.messages().size(), 2u);
        EXPECT_NE(view.messages()[1].find("non è un file normale"), std::string::npos) << view.messages()[1];
        EXPECT_EQ(view.text(Field::lblpunti), "");
        EXPECT_EQ(fs::symlink_status(dir.file("briv2s.txt")).type(), fs::file_type::symlink);
    }
    EXPECT_FALSE(fs::exists(dir.file("nulla")));
    EXPECT_EQ(ReadBytes(dir.file("privato")), "segreto\r\n");

    // Nor is a record saved over what could not be read.
    AnswerRight();
    game.cmdExit_Click();
    EXPECT_NE(view.messages().back().find("Un record che non riesco a leggere non viene sostituito"),
              std::string::npos) << view.messages().back();
    EXPECT_EQ(fs::symlink_status(dir.file("briv2s.txt")).type(), fs::file_type::symlink);
    EXPECT_EQ(ReadBytes(dir.file("privato")), "segreto\r\n");
}
#endif

TEST(SystemRecordPlace, UsesTheSharedDirectoryWhenItCanHoldFiles)
{
    TempDir shared;
    TempDir personal;
    SystemRecordPlace place(shared.recordDir(), personal.recordDir() + "brivana/", CanKeepRecordsIn);
    const RecordLocation location = place.locate();
    EXPECT_EQ(location.dir, shared.recordDir());
    EXPECT_EQ(location.notice, "");
    EXPECT_TRUE(fs::is_empty(shared.path())) << "the probe leaves nothing behind";
}

TEST(SystemRecordPlace, FallsBackToTheUsersOwnDirectoryAndCreatesIt)
{
    TempDir personal;
    const std::string userDir = personal.recordDir() + "dati" + "/brivana/";
    SystemRecordPlace missing(personal.file("non-installato") + "/", userDir, CanKeepRecordsIn);
    RecordLocation location = missing.locate();
    EXPECT_EQ(location.dir, userDir);
    EXPECT_EQ(location.notice, "") << "no shared place at all is nothing to tell";
    EXPECT_TRUE(fs::is_directory(userDir));

    SystemRecordPlace closed(personal.recordDir(), userDir, [](const std::string&) { return false; });
    location = closed.locate();
#ifdef _WIN32
    // A shared folder closed to this player: told once, and never again on this account.
    EXPECT_EQ(location.dir, userDir);
    EXPECT_NE(location.notice.find("cartella personale"), std::string::npos);
    EXPECT_EQ(closed.locate().notice, "");
#else
    // The class's folder closed to this game: its record is read, and every game says that
    // this one's score cannot be saved there.
    EXPECT_EQ(location.dir, personal.recordDir());
    EXPECT_NE(location.notice.find("non potrà essere salvato"), std::string::npos);
    EXPECT_EQ(closed.locate().notice, location.notice);
#endif

#ifndef _WIN32
    // A link is no place for a shared record: someone could point it anywhere.
    fs::create_directory(personal.file("altrove"));
    fs::create_directory_symlink(personal.file("altrove"), personal.file("collegamento"));
    EXPECT_FALSE(CanKeepRecordsIn(personal.file("collegamento") + "/"));
    EXPECT_TRUE(CanKeepRecordsIn(personal.file("altrove") + "/"));
#endif
}

TEST(SystemRecordPlace, FindsThePlayersOwnFolderFromTheEnvironment)
{
    struct Row {
        std::map<std::string, std::string> environment;
        std::string folder;
    };
#ifndef _WIN32
    const Row rows[] = {
        {{{"XDG_DATA_HOME", "/dati"}, {"HOME", "/home/anna"}}, "/dati/brivana/"},
        {{{"XDG_DATA_HOME", "/dati/"}}, "/dati/brivana/"},
        {{{"XDG_DATA_HOME", "dati"}, {"HOME", "/home/anna"}}, "/home/anna/.local/share/brivana/"},
        {{{"HOME", "/home/anna"}}, "/home/anna/.local/share/brivana/"},
        {{{"HOME", "/home/anna/"}}, "/home/anna/.local/share/brivana/"},
    };
    EXPECT_EQ(SharedRecordDirectory(), "/var/games/brivana/");
#else
    const Row rows[] = {
        {{{"LOCALAPPDATA", "C:\\Utenti\\Zoë\\AppData\\Local"}}, "C:\\Utenti\\Zoë\\AppData\\Local\\Brivana\\"},
        {{{"USERPROFILE", "C:\\Utenti\\Anna"}}, "C:\\Utenti\\Anna\\AppData\\Local\\Brivana\\"},
    };
#endif
    for (const Row& row : rows)
        EXPECT_EQ(UserRecordDirectory([&](const char* name) {
                      const auto found = row.environment.find(name);
                      return found == row.environment.end() ? std::string() : found->second;
                  }),
                  row.folder);
}

// Every way a save can be cut short (the program killed, or the power cut, after any of its
// steps; any step failing, or every step from one on) leaves the old pair or the new one for
// the next start-up, and what the player was told is what is on the disk.
class InterruptedSave : public ::testing::Test {
protected:
    using Pair = std::pair<std::string, std::string>;
    const Pair oldPair{"4\r\n", "Bea\r\n"};
    const Pair newPair{"12\r\n", "Anna\r\n"};
    static constexpr const char* kDir = "/record/";

    PowerCutFiles Folder() const
    {
        return PowerCutFiles({{kScoreFileName, oldPair.first}, {kHolderFileName, oldPair.second}});
    }
    static Pair PairIn(const PowerCutFiles& files)
    {
        return {files.content(kScoreFileName).value_or("<missing>"), files.content(kHolderFileName).value_or("<missing>")};
    }
    // Every start-up that may follow: after a kill, and after a power cut with any of the
    // pending changes on the disk. Each must show the old pair or the new one.
    void ExpectEveryStartUpFindsAWholePair(const PowerCutFiles& files)
    {
        const std::size_t pending = std::min<std::size_t>(files.pendingChanges(), 10);
        std::vector<std::optional<unsigned>> ways{std::nullopt};
        for (unsigned kept = 0; kept < (1u << pending); ++kept) ways.push_back(kept);
        for (const auto& way : ways) {
            PowerCutFiles next = files.restarted(way);
            const RecordReading reading = RecordStore(next, kDir).Read();
            const Pair shown{reading.score, reading.holder};
            EXPECT_TRUE(shown == oldPair || shown == newPair)
                << (way ? "power cut keeping changes " + std::to_string(*way) : std::string("killed")) << ": "
                << shown.first << "|" << shown.second;
            EXPECT_EQ(next.stepsWithoutLock, 0) << "the start-up read outside the lock";
        }
    }
    int StepsOfAWholeSave()
    {
        PowerCutFiles files = Folder();
        EXPECT_EQ(RecordStore(files, kDir).SaveRecord("12", "Anna").outcome, SaveOutcome::saved);
        EXPECT_EQ(PairIn(files), newPair);
        return files.steps;
    }
};

TEST_F(InterruptedSave, LeavesTheOldPairOrTheNewOneAfterEveryStep)
{
    const int steps = StepsOfAWholeSave();
    for (int step = 1; step <= steps; ++step) {
        // Stopped there; that step failing, alone or with any one later step (a rollback's);
        // every step failing from there on.
        std::vector<std::pair<std::string, std::function<void(PowerCutFiles&)>>> faults{
            {"stopped", [&](PowerCutFiles& files) { files.stopAfterStep = step; }},
            {"failing on", [&](PowerCutFiles& files) { files.failFromStep = step; }},
        };
        for (int later = step; later <= 2 * steps; ++later)
            faults.emplace_back("failed with " + std::to_string(later),
                                [=](PowerCutFiles& files) { files.failSteps = {step, later}; });
        for (const auto& [name, fault] : faults) {
            SCOPED_TRACE("step " + std::to_string(step) + " " + name);
            PowerCutFiles files = Folder();
            fault(files);
            const SaveResult result = RecordStore(files, kDir).SaveRecord("12", "Anna");
            EXPECT_EQ(files.stepsWithoutLock, 0) << "a step ran outside the lock";
            if (files.stopAfterStep == 0) {
                // What the player is told is what is on the disk.
                if (result.outcome == SaveOutcome::saved) {
                    EXPECT_EQ(PairIn(files), newPair);
                }
                if (result.outcome == SaveOutcome::failed) {
                    EXPECT_EQ(PairIn(files), oldPair) << result.why;
                    EXPECT_FALSE(files.content(kCommitMarkName)) << "the next start-up would save it after all";
                }
                EXPECT_NE(result.outcome, SaveOutcome::notBetter);
            }
            ExpectEveryStartUpFindsAWholePair(files);
        }
    }
}

TEST_F(InterruptedSave, IsFinishedByAStartUpThatIsItselfCutShortAtAnyStep)
{
    // A save killed between its two renames.
    PowerCutFiles killed = Folder();
    for (int step = 1; step <= StepsOfAWholeSave() && PairIn(killed) != Pair(newPair.first, oldPair.second); ++step) {
        PowerCutFiles interrupted = Folder();
        interrupted.stopAfterStep = step;
        RecordStore(interrupted, kDir).SaveRecord("12", "Anna");
        killed = interrupted.restarted();
    }
    ASSERT_EQ(PairIn(killed), Pair(newPair.first, oldPair.second));

    PowerCutFiles whole = killed.restarted();
    RecordStore(whole, kDir).Read();
    const int steps = whole.steps;
    for (int step = 1; step <= steps; ++step) {
        for (bool stop : {true, false}) {
            SCOPED_TRACE("start-up step " + std::to_string(step) + (stop ? " stopped" : " failed"));
            PowerCutFiles files = killed.restarted();
            if (stop) files.stopAfterStep = step;
            else files.failSteps = {step};
            const RecordReading reading = RecordStore(files, kDir).Read();
            // Even the start-up that fails shows no half-replaced pair: a whole one, or none.
            const Pair shown{reading.score, reading.holder};
            EXPECT_TRUE(shown == oldPair || shown == newPair || shown == Pair()) << shown.first << "|" << shown.second;
            ExpectEveryStartUpFindsAWholePair(files);
        }
    }
}

#ifndef _WIN32
TEST(RecordKeeperProcess, AnswersOnlyItsOwnRequestsAndOnlyAboutTheSharedFolder)
{
    TempDir shared;
    TempDir own;
    SystemFileAccess files;
    FixedRegisterStamps stamps;
    LocalRecordKeeper local(files, stamps);
    for (const std::string stranger : {"", "X"}) {
        int ends[2];
        ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends), 0);
        std::thread keeper([&] {
            ServeRecordRequests(ends[1], shared.recordDir(), KeeperCaller{});
            ::close(ends[1]);
        });
        KeeperConnection connection(ends[0], shared.recordDir(), local);
        if (stranger.empty()) {
            EXPECT_TRUE(connection.canKeepShared(shared.recordDir()));
            EXPECT_TRUE(connection.read(shared.recordDir()).problems.empty());
            EXPECT_EQ(connection.save(shared.recordDir(), "7", "Zoë").outcome, SaveOutcome::saved);
            EXPECT_EQ(connection.save(shared.recordDir(), "5", "Ugo").outcome, SaveOutcome::notBetter);
            EXPECT_EQ(connection.read(shared.recordDir()).holder, "Zoë\r\n");
            EXPECT_EQ(ReadBytes(shared.file("nbriv2s.txt")), "Zo\xEB\r\n");
            // Any other folder is kept by this process, with the player's own rights.
            EXPECT_EQ(connection.save(own.recordDir(), "3", "Ugo").outcome, SaveOutcome::saved);
            EXPECT_EQ(ReadBytes(own.file("briv2s.txt")), "3\r\n");
            EXPECT_EQ(ReadBytes(shared.file("briv2s.txt")), "7\r\n");
            // The keeper stamps a game's line itself; only a teacher's keeper clears a year.
            ASSERT_TRUE(connection.appendResult(shared.recordDir(), {"Zoë", 2, 1, 3, 60, GameEnding::exit, true}).done);
            SystemRegisterStamps system;
            const int year = SchoolYearOfWhen(system.now()).value_or(0);
            const std::string registerFile = shared.file(RegisterFileName(year));
            const auto line = DecodeRegisterLine(ReadBytes(registerFile));
            ASSERT_TRUE(line);
            EXPECT_EQ(line->computer, RegisterText(system.computerName()));
            EXPECT_FALSE(connection.clearSchoolYear(shared.recordDir(), year).done);
            EXPECT_TRUE(AnswerClear(std::to_string(year), shared.recordDir(), true, files).done);
            EXPECT_FALSE(std::filesystem::exists(registerFile));
            ::shutdown(ends[0], SHUT_WR);
        } else {
            // A request outside the three ends the keeper; the player is told it is gone.
            const char frame[] = {1, 0, 0, 0, 'X'};
            ASSERT_EQ(::send(ends[0], frame, sizeof frame, MSG_NOSIGNAL), static_cast<ssize_t>(sizeof frame));
            keeper.join();
            const SaveResult result = connection.save(shared.recordDir(), "9", "Ugo");
            EXPECT_EQ(result.outcome, SaveOutcome::failedUnsure);
            EXPECT_NE(result.why.find("custodisce il record"), std::string::npos);
            EXPECT_EQ(ReadBytes(shared.file("briv2s.txt")), "7\r\n");
            continue;
        }
        keeper.join();
    }
}
#endif

}  // namespace
}  // namespace brivana::testing
