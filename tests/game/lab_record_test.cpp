// The class record on the school's server, as a keeper answers about it: a server that is away,
// refuses or hangs never holds an answer, and a better score waits on the computer for it.
#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <sstream>
#include <mutex>
#include <thread>

#include "fake_services.h"
#include "game/lab_memory.h"
#include "game/waiting_register.h"
#include "system/keeper_answers.h"

namespace brivana::testing {
namespace {

using namespace std::chrono_literals;

// The server's folder, reached through a share that can go away, refuse or hang.
class ServerShare final : public ForwardingFileAccess {
public:
    enum class State { up, away, refusing, hanging };
    void set(State state)
    {
        const std::lock_guard lock(mutex_);
        state_ = state;
        changed_.notify_all();
    }

    // Every visit to the folder starts with its lock, or with reading it when the lock fails.
    IoStatus lockFolder(const std::string& d, std::chrono::milliseconds w, std::unique_ptr<FileLock>& l) override
    {
        return pass([&] { return real_.lockFolder(d, w, l); });
    }
    IoStatus readHead(const std::string& p, std::size_t m, std::string& o) override
    {
        return pass([&] { return real_.readHead(p, m, o); });
    }

private:
    template <typename Step>
    IoStatus pass(Step step)
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return state_ != State::hanging; });
        if (state_ == State::away) return IoStatus::failure("Non riesco a leggere la cartella: l'host non è raggiungibile.");
        if (state_ == State::refusing) return IoStatus::failure("Non riesco a scrivere la cartella: permesso negato.");
        lock.unlock();
        return step();
    }
    std::mutex mutex_;
    std::condition_variable changed_;
    State state_ = State::up;
};

class LabRecord : public ::testing::Test {
protected:
    using State = ServerShare::State;
    static constexpr auto kWait = 400ms;

    ~LabRecord() override { share->set(State::up); }

    RecordReading read()
    {
        return DecodeReadAnswer(answers.answer({KeeperRequestKind::read, {}, {}, {}}, {})).value();
    }
    SaveResult save(const std::string& score, const std::string& holder)
    {
        return DecodeSaveAnswer(answers.answer({KeeperRequestKind::save, score, holder, {}}, {})).value();
    }
    LabMemory memory()
    {
        return DecodeLabMemory(ReadBytes(own.file(kLabMemoryName))).value_or(LabMemory{"<none>", {}});
    }

    TempDir own;
    TempDir server;
    std::shared_ptr<ServerShare> share = std::make_shared<ServerShare>();
    KeeperAnswers answers{{own.recordDir(), server.recordDir()}, share, std::make_shared<SystemFileAccess>(), kWait};
};

TEST_F(LabRecord, AScoreTheServerCannotTakeWaitsHereAndIsDeliveredWhenItAnswers)
{
    ASSERT_EQ(save("5", "Anna").outcome, SaveOutcome::saved);
    EXPECT_EQ(memory(), (LabMemory{"5", {}}));
    for (const State state : {State::away, State::refusing, State::hanging}) {
        SCOPED_TRACE(static_cast<int>(state));
        share->set(state);
        const auto start = std::chrono::steady_clock::now();
        const RecordReading unreachable = read();
        EXPECT_FALSE(unreachable.complete);
        EXPECT_NE(unreachable.problems.at(0).find("Non riesco a raggiungere il record della classe sul server"),
                  std::string::npos);
        EXPECT_NE(unreachable.problems.at(1).find("(5)"), std::string::npos) << unreachable.problems.at(1);
        // Not better than the class record last seen here: nothing to keep.
        EXPECT_EQ(save("5", "Ugo").outcome, SaveOutcome::failed);
        const auto keeping = std::chrono::steady_clock::now();
        const SaveResult kept = save("7", "Bea");
        EXPECT_EQ(kept.outcome, SaveOutcome::kept) << kept.why;
        // While the worker is stuck on the hung server, the answer comes at once and says so.
        if (state == State::hanging) {
            EXPECT_LT(std::chrono::steady_clock::now() - keeping, kWait / 2);
            EXPECT_NE(kept.why.find("non ha ancora risposto"), std::string::npos) << kept.why;
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, 4 * kWait) << "three answers, each within the wait";
        EXPECT_EQ(save("6", "Ugo").outcome, SaveOutcome::failed) << "a better score waits already";
        EXPECT_EQ(memory(), (LabMemory{"5", PendingScore{"7", "Bea"}}));

        share->set(State::up);
        // A request stuck on the hung server ends first.
        RecordReading back = read();
        for (int i = 0; i < 50 && !back.complete; ++i, std::this_thread::sleep_for(20ms)) back = read();
        EXPECT_EQ(back.score + back.holder, "7\r\nBea\r\n");
        EXPECT_EQ(ReadBytes(server.file("nbriv2s.txt")), "Bea\r\n");
        EXPECT_EQ(memory(), (LabMemory{"7", {}}));
        ASSERT_EQ(save("5", "Anna").outcome, SaveOutcome::notBetter);
        WriteBytes(server.file("briv2s.txt"), "5\r\n");
        read();
    }
}

TEST_F(LabRecord, AWaitingScoreThatTheClassPassedMeanwhileIsDropped)
{
    share->set(State::away);
    ASSERT_EQ(save("9", "Zoë").outcome, SaveOutcome::kept);
    // Another computer saves a better record while this one is cut off.
    WriteBytes(server.file("briv2s.txt"), "12\r\n");
    WriteBytes(server.file("nbriv2s.txt"), "Ugo\r\n");
    share->set(State::up);
    // The next save delivers nothing that the class passed, and is compared with the record.
    EXPECT_EQ(save("10", "Anna").outcome, SaveOutcome::notBetter);
    EXPECT_EQ(ReadBytes(server.file("briv2s.txt")) + ReadBytes(server.file("nbriv2s.txt")), "12\r\nUgo\r\n");
    EXPECT_EQ(memory(), (LabMemory{"12", {}}));
}

TEST_F(LabRecord, AGameTheServerDoesNotTakeIsWrittenInTheRegisterOnceAtALaterGame)
{
    const auto append = [&](const std::string& pupil) {
        const GameResult result{pupil, 3, 1, 4, 60, GameEnding::exit, false};
        return DecodeRegisterAnswer(answers.answer({KeeperRequestKind::append, {}, {}, EncodeResultFields(result)}, {}))
            .value();
    };
    // The register's lines, in order, whichever school year this is.
    const auto registerLines = [&] {
        std::vector<std::string> lines;
        for (const auto& entry : std::filesystem::directory_iterator(server.path()))
            if (SchoolYearOfFileName(entry.path().filename().string()))
                for (std::istringstream in(ReadBytes(entry.path().string())); !in.eof();)
                    if (std::string line; std::getline(in, line) && !line.empty()) lines.push_back(line + "\n");
        return lines;
    };
    const auto readAfterAnyStuckJob = [&] {
        for (int i = 0; i < 50 && !read().complete; ++i) std::this_thread::sleep_for(20ms);
    };
    for (const auto& [state, pupil] : {std::pair{State::away, "Anna"}, std::pair{State::hanging, "Bea"}}) {
        share->set(state);
        const RegisterResult kept = append(pupil);
        EXPECT_FALSE(kept.done);
        EXPECT_NE(kept.why.find("conservata su questo computer"), std::string::npos) << kept.why;
    }
    EXPECT_TRUE(registerLines().empty());
    share->set(State::up);
    readAfterAnyStuckJob();
    const std::vector<std::string> delivered = registerLines();
    ASSERT_EQ(delivered.size(), 2u);
    EXPECT_NE(delivered[0].find(";Anna;3;1;4;60;esci;0"), std::string::npos) << delivered[0];
    EXPECT_NE(delivered[1].find(";Bea;"), std::string::npos) << delivered[1];
    EXPECT_FALSE(std::filesystem::exists(own.file(kWaitingRegisterName)));

    // A keeper stopped after the server took Anna's line left it marked here; a second game ended
    // alike in the same second had started too, a third had not.
    const RegisterLine anna = DecodeRegisterLine(delivered[0]).value();
    WriteBytes(own.file(kWaitingRegisterName), EncodeWaitingLines({{anna, true}, {anna, true}, {anna, false}}));
    readAfterAnyStuckJob();
    const std::vector<std::string> after = registerLines();
    EXPECT_EQ(std::count(after.begin(), after.end(), delivered[0]), 3);
}

TEST(LabMemory, OnlyAWholeMemoryOfOursIsRead)
{
    const LabMemory full{"12", PendingScore{"30", "Zoë €"}};
    EXPECT_EQ(DecodeLabMemory(EncodeLabMemory(full)), full);
    EXPECT_EQ(DecodeLabMemory(EncodeLabMemory({})), LabMemory{});
    const std::string whole = EncodeLabMemory(full);
    for (const std::string& bad : {whole.substr(0, whole.size() - 1), whole + "x\n", std::string("brivana classe 2\n\n\n\n"),
                                  std::string("brivana classe 1\n012\n\n\n"), std::string("brivana classe 1\n\n7\nA\tB\n"),
                                  std::string("brivana classe 1\n\n\nAnna\n")})
        EXPECT_FALSE(DecodeLabMemory(bad)) << bad;
}

}  // namespace
}  // namespace brivana::testing
