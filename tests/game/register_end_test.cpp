// Every end of a game writes the game in the register, once.
#include "game_fixture.h"

namespace brivana::testing {
namespace {

class RegisterEnd : public GameFixture {
protected:
    // A pupil whose typed name holds ";", a line break and quotes answers once right, once wrong.
    void Play()
    {
        StartGame("Rossi;\r\n\"Anna\"");
        AnswerRight();
        AnswerWrong();
    }
    void Tick(int times) { while (times-- > 0) game.Timer1_Timer(); }
    std::string Register() const { return ReadBytes(dir.file(RegisterFileName(2026))); }
    // The line of this pupil's game, stamped by the test's keeper, from the seconds played on.
    static std::string Line(const std::string& rest)
    {
        return "2026-12-08 09:41:07;AULA-3;\"Rossi;  \"\"Anna\"\"\";1;1;2;" + rest + "\r\n";
    }
};

TEST_F(RegisterEnd, TheClockRunningOutWritesOneLine)
{
    Play();
    Tick(906);
    EXPECT_EQ(Register(), Line("900;tempo;1"));
}

TEST_F(RegisterEnd, ExitWritesOneLineThoughTheWindowIsClosedAfter)
{
    Play();
    Tick(75);
    // The farewell stays open a while: those seconds are not play.
    view.whileMessageOpen = [this](const Dialog& dialog) {
        if (dialog.text.starts_with("Ciao")) Tick(20);
    };
    game.cmdExit_Click();
    game.Form_Unload();
    EXPECT_EQ(Register(), Line("75;esci;1"));
}

TEST_F(RegisterEnd, ANewGameWritesTheUnfinishedOneAndClosingTheWindowTheNextOne)
{
    Play();
    Tick(3);
    view.messageAnswers = {MsgAnswer::yes};
    view.inputAnswers.push_back("Bea");
    view.whileMessageOpen = [this](const Dialog& dialog) {
        if (dialog.text.starts_with("Ok ho registrato")) Tick(5);
    };
    ScriptQuestion(0.5, 0.5, 0.5);
    game.Next_Click();
    game.Form_Unload();
    game.cmdExit_Click();
    EXPECT_EQ(Register(), Line("3;nuova;1") + "2026-12-08 09:41:07;AULA-3;Bea;0;0;0;0;finestra;0\r\n");
}

TEST_F(RegisterEnd, TheClockRunningOutBehindANewGamesCongratulationWritesOneLine)
{
    Play();
    Tick(900);
    view.messageAnswers = {MsgAnswer::yes};
    view.whileMessageOpen = [this](const Dialog& dialog) {
        if (dialog.text.starts_with("Ok ho registrato")) game.Timer1_Timer();
    };
    game.Next_Click();
    EXPECT_EQ(Register(), Line("900;tempo;1"));
}

TEST_F(RegisterEnd, AFailedAppendIsToldToThePlayer)
{
    StartGame("Anna");
    std::filesystem::create_directory(dir.file(RegisterFileName(2026)));  // no file can take its place
    game.cmdExit_Click();
    EXPECT_TRUE(view.dialogs.back().text.starts_with("Non sono riuscito a scrivere questa partita nel registro"))
        << view.dialogs.back().text;
}

}  // namespace
}  // namespace brivana::testing
