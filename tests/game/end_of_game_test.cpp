// The end of a game: farewell, record, end of the program.
#include "game_fixture.h"

namespace brivana::testing {
namespace {

class EndOfGame : public GameFixture {};

TEST_F(EndOfGame, SaysGoodbyeAndEndsWithoutSavingWhenTheScoreOnlyEqualsTheRecord)
{
    WriteBytes(dir.file("briv2s.txt"), "2\r\n");
    WriteBytes(dir.file("nbriv2s.txt"), "Bea\r\n");
    StartGame("Anna", 0.5, 0.5, 0.5);
    AnswerRight();
    AnswerRight();
    const std::size_t mark = view.calls.size();
    game.cmdExit_Click();
    EXPECT_EQ(CallsSince(mark), (std::vector<std::string>{"message Ciao Anna, alla prossima sfida!", "end"}));
    EXPECT_EQ(view.dialogs.back().title, "Data " + kNow);
    EXPECT_EQ(view.dialogs.back().style, MsgStyle::ok);
    EXPECT_EQ(ScoreFile(), "2\r\n");
    EXPECT_EQ(HolderFile(), "Bea\r\n");
}

TEST_F(EndOfGame, SavesABetterScoreWithTheNameThenCongratulatesAndEnds)
{
    WriteBytes(dir.file("briv2s.txt"), "1\r\n");
    StartGame("Niccolò", 0.5, 0.5, 0.5);
    AnswerRight();
    AnswerRight();
    const std::size_t mark = view.calls.size();
    game.cmdExit_Click();
    EXPECT_EQ(CallsSince(mark), (std::vector<std::string>{"message Ciao Niccolò, alla prossima sfida!",
                                                          "message Ok ho registrato il tuo record, C A M P I O N E",
                                                          "end"}));
    EXPECT_EQ(ScoreFile(), "2\r\n");
    EXPECT_EQ(HolderFile(), "Niccol\xF2\r\n");
    EXPECT_EQ(view.dialogs.back().title, "");
}

TEST_F(EndOfGame, StoresAnEmptyNameLineForAPlayerWhoGaveNoName)
{
    StartGame("");
    AnswerRight();
    game.cmdExit_Click();
    EXPECT_EQ(view.dialogs[view.dialogs.size() - 2].text, "Ciao , alla prossima sfida!");
    EXPECT_EQ(ScoreFile(), "1\r\n");
    EXPECT_EQ(HolderFile(), "\r\n");
}

TEST_F(EndOfGame, RunsOnceHoweverOftenItIsAsked)
{
    StartGame("Anna");
    AnswerRight();
    game.cmdExit_Click();
    const std::size_t mark = view.calls.size();
    std::int16_t enter = 13;
    game.txtAnswer_KeyPress(enter);
    game.cmdExit_Click();
    game.Timer1_Timer();
    game.Next_Click();
    ScriptQuestion(0.5, 0.5, 0.5);
    game.cmdNext_Click();
    EXPECT_TRUE(CallsSince(mark).empty());
    EXPECT_EQ(view.programEnds, 1);
}

}  // namespace
}  // namespace brivana::testing
