// A new game from the menu.
#include <algorithm>
#include <filesystem>

#include "game_fixture.h"

namespace brivana::testing {
namespace {

class NewGame : public GameFixture {
protected:
    void SetUp() override
    {
        WriteBytes(dir.file("briv2s.txt"), "1\r\n");
        WriteBytes(dir.file("nbriv2s.txt"), "Bea\r\n");
        StartGame("Anna", 0.5, 0.5, 0.5);
    }
};

TEST_F(NewGame, AnsweredNoLeavesTheGameTheClockAndTheTalliesAsTheyWere)
{
    AnswerRight();
    game.Timer1_Timer();
    const std::size_t mark = view.calls.size();
    game.Next_Click();
    EXPECT_EQ(CallsSince(mark), (std::vector<std::string>{"message INIZIAMO UNA NUOVA GARA  ?"}));
    EXPECT_EQ(view.dialogs.back().title, "INIZIARE NUOVA GARA");
    EXPECT_EQ(view.dialogs.back().style, MsgStyle::yesNoQuestionDefaultNo);
    EXPECT_EQ(view.text(Field::lblconto), "00:14:59");
    EXPECT_EQ(view.text(Field::lblScore), "1");
    EXPECT_EQ(view.reloads, 0);

    game.Next_Click();
    EXPECT_EQ(view.messages().back(), "INIZIAMO UNA NUOVA GARA  ?") << "asks again every time";
}

TEST_F(NewGame, AnsweredYesSavesABetterRecordCongratulatesAndReloads)
{
    AnswerRight();
    AnswerRight();
    view.messageAnswers = {MsgAnswer::yes};
    view.inputAnswers.push_back("Bruno");
    ScriptQuestion(0.5, 0.5, 0.5);
    game.Next_Click();
    EXPECT_EQ(ScoreFile(), "2\r\n");
    EXPECT_EQ(HolderFile(), "Anna\r\n");
    const auto messages = view.messages();
    EXPECT_NE(std::find(messages.begin(), messages.end(), "Ok ho registrato il tuo record, C A M P I O N E\""),
              messages.end());
    EXPECT_EQ(view.reloads, 1);
    // The reloaded window is a new game: new name, fresh clock, the new record shown.
    EXPECT_EQ(view.text(Field::lblnome1), "Bruno");
    EXPECT_EQ(view.text(Field::lblconto), "00:15:00");
    EXPECT_EQ(view.text(Field::lblpunti), "2\r\n");
    EXPECT_EQ(view.text(Field::lblnome), "Anna\r\n");
}

TEST_F(NewGame, AnsweredYesWithAnEqualScoreSavesNothing)
{
    AnswerRight();
    view.messageAnswers = {MsgAnswer::yes};
    ScriptQuestion(0.5, 0.5, 0.5);
    game.Next_Click();
    EXPECT_EQ(ScoreFile(), "1\r\n");
    EXPECT_EQ(HolderFile(), "Bea\r\n");
    EXPECT_EQ(view.reloads, 1);
}

TEST_F(NewGame, StartsTheNextPupilsTalliesFromZero)
{
    for (int i = 0; i < 6; ++i) AnswerRight();
    AnswerWrong();
    view.messageAnswers = {MsgAnswer::yes};
    ScriptQuestion(0.5, 0.5, 0.5);
    game.Next_Click();
    EXPECT_EQ(view.text(Field::lblScore), "0");
    EXPECT_EQ(view.text(Field::lblScore1), "0");

    Answer(std::to_string(game.state().expectedProduct));
    EXPECT_EQ(view.text(Field::lblScore), "1");
    EXPECT_EQ(view.text(Field::lblScore2), "1");

    // So the new pupil cannot end with a record earned by the one before.
    game.cmdExit_Click();
    EXPECT_EQ(ScoreFile(), "6\r\n");
}

TEST_F(NewGame, EndsTheGameOnceWhenTheClockRanOutWhileTheQuestionWasOpen)
{
    AnswerRight();
    AnswerRight();  // 2 beats the record of 1
    for (int i = 0; i < 900; ++i) game.Timer1_Timer();
    view.messageAnswers = {MsgAnswer::yes};
    view.whileMessageOpen = [this](const Dialog& dialog) {
        if (dialog.title == "INIZIARE NUOVA GARA") game.Timer1_Timer();
    };
    const std::size_t mark = view.calls.size();
    game.Next_Click();
    EXPECT_EQ(CallsSince(mark), (std::vector<std::string>{"message INIZIAMO UNA NUOVA GARA  ?",
                                                          "message Ciao Anna, alla prossima sfida!",
                                                          "message Ok ho registrato il tuo record, C A M P I O N E",
                                                          "end"}));
    EXPECT_EQ(ScoreFile(), "2\r\n");
}

TEST_F(NewGame, NoReloadFollowsTheFarewellWhenTheClockRunsOutDuringTheCongratulation)
{
    AnswerRight();
    AnswerRight();
    for (int i = 0; i < 900; ++i) game.Timer1_Timer();
    view.messageAnswers = {MsgAnswer::yes};
    view.whileMessageOpen = [this](const Dialog& dialog) {
        if (dialog.text.starts_with("Ok ho registrato")) game.Timer1_Timer();
    };
    const std::size_t mark = view.calls.size();
    game.Next_Click();
    // The score saved a moment ago is not saved again, nor reported as beaten meanwhile.
    EXPECT_EQ(CallsSince(mark), (std::vector<std::string>{"message INIZIAMO UNA NUOVA GARA  ?",
                                                          "message Ok ho registrato il tuo record, C A M P I O N E\"",
                                                          "message Ciao Anna, alla prossima sfida!",
                                                          "end"}));
    EXPECT_EQ(view.programEnds, 1);
    EXPECT_EQ(view.reloads, 0);
    EXPECT_EQ(view.paints, 3) << "no question of a new game";
}

TEST_F(NewGame, ShowsWhatStartUpFoundWrongWithTheRecordForThatLoadOnly)
{
    // A score file that cannot be read (a folder in its place), mended during the game.
    std::filesystem::remove(dir.file("briv2s.txt"));
    std::filesystem::create_directory(dir.file("briv2s.txt"));
    view.inputAnswers.push_back("Bruno");
    game.Form_Load();
    ASSERT_EQ(view.messages().size(), 3u);
    EXPECT_TRUE(view.messages().back().starts_with("Non riesco a leggere il record")) << view.messages().back();

    std::filesystem::remove(dir.file("briv2s.txt"));
    WriteBytes(dir.file("briv2s.txt"), "1\r\n");
    view.messageAnswers = {MsgAnswer::yes};
    view.inputAnswers.push_back("Carla");
    ScriptQuestion(0.5, 0.5, 0.5);
    const std::size_t shown = view.messages().size();
    game.Next_Click();
    const auto messages = view.messages();
    EXPECT_EQ(std::vector<std::string>(messages.begin() + static_cast<std::ptrdiff_t>(shown), messages.end()),
              (std::vector<std::string>{"INIZIAMO UNA NUOVA GARA  ?", " Carla vediamo se sei un vero campione  "}));
}

}  // namespace
}  // namespace brivana::testing
