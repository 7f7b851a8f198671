// Every end of a game writes the game in the register, once.
#include "game_fixture.h"

namespace brivana::testing {
namespace {

class RegisterEnd : public GameFixture {
protected:
    // The register's lines, from the pupil's name on.
    std::vector<std::string> Lines() const
    {
        std::vector<std::string> lines;
        const std::string content = ReadBytes(dir.file(RegisterFileName(2026)));
        for (std::size_t at = 0; at < content.size();) {
            const std::size_t end = content.find("\r\n", at);
            const std::string line = content.substr(at, end - at);
            EXPECT_TRUE(DecodeRegisterLine(line)) << line;
            lines.push_back(line.substr(line.find(";", line.find(";") + 1) + 1));
            at = end == std::string::npos ? content.size() : end + 2;
        }
        return lines;
    }
    // A pupil whose typed name holds ";", a line break and quotes answers once right, once wrong.
    void Play()
    {
        StartGame("Rossi;\r\n\"Anna\"");
        AnswerRight();
        AnswerWrong();
    }
    void Tick(int times)
    {
        for (int i = 0; i < times; ++i) game.Timer1_Timer();
    }
};

TEST_F(RegisterEnd, TheClockRunningOutWritesOneLine)
{
    Play();
    Tick(906);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"\"Rossi;  \"\"Anna\"\"\";1;1;2;900;tempo;1"}));
}

TEST_F(RegisterEnd, ExitWritesOneLine)
{
    Play();
    Tick(75);
    game.cmdExit_Click();
    game.cmdExit_Click();
    Tick(2);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"\"Rossi;  \"\"Anna\"\"\";1;1;2;75;esci;1"}));
}

TEST_F(RegisterEnd, ClosingTheWindowWritesOneLine)
{
    Play();
    game.Form_Unload();
    game.cmdExit_Click();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"\"Rossi;  \"\"Anna\"\"\";1;1;2;0;finestra;1"}));
}

TEST_F(RegisterEnd, ANewGameWritesTheUnfinishedOneAndTheNextGameItsOwn)
{
    Play();
    Tick(3);
    view.messageAnswers = {MsgAnswer::yes};
    view.inputAnswers.push_back("Bea");
    ScriptQuestion(0.5, 0.5, 0.5);
    game.Next_Click();
    Tick(2);
    game.cmdExit_Click();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"\"Rossi;  \"\"Anna\"\"\";1;1;2;3;nuova;1", "Bea;0;0;0;2;esci;0"}));
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
    EXPECT_EQ(Lines(), (std::vector<std::string>{"\"Rossi;  \"\"Anna\"\"\";1;1;2;900;tempo;1"}));
}

TEST_F(RegisterEnd, AFailedAppendIsToldToThePlayer)
{
    StartGame("Anna");
    std::filesystem::create_directory(dir.file(RegisterFileName(2026)));  // no file can take its place
    game.cmdExit_Click();
    ASSERT_GE(view.dialogs.size(), 2u);
    EXPECT_TRUE(view.dialogs.back().text.starts_with("Non sono riuscito a scrivere questa partita nel registro"))
        << view.dialogs.back().text;
}

}  // namespace
}  // namespace brivana::testing
