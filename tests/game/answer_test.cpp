// Typing the answer and checking it.
#include "game_fixture.h"

namespace brivana::testing {
namespace {

class AnswerBox : public GameFixture {
protected:
    void SetUp() override { StartGame("Anna", 0.3, 0.18, 0.5); }  // -4 x 4 = -16
};

TEST_F(AnswerBox, LetsDigitsMinusAndBackspaceThroughUnchanged)
{
    for (std::int16_t key : {48, 53, 57, 45, 8}) {
        std::int16_t typed = key;
        game.txtAnswer_KeyPress(typed);
        EXPECT_EQ(typed, key);
    }
    EXPECT_EQ(view.text(Field::lblMessage), "") << "no key but Enter evaluates";
}

TEST_F(AnswerBox, SwallowsEverythingElseIncludingCtrlV)
{
    for (std::int16_t key : {'a', 'Z', ' ', '.', '+', ',', '\x16', '\x1b', '\t', '\x7f'}) {
        std::int16_t typed = key;
        game.txtAnswer_KeyPress(typed);
        EXPECT_EQ(typed, 0) << "key " << key;
    }
}

TEST_F(AnswerBox, LeavesEnterAsItIs)
{
    std::int16_t enter = 13;
    game.txtAnswer_KeyPress(enter);
    EXPECT_EQ(enter, 13);
}

TEST_F(AnswerBox, ARightAnswerShowsTheVerdictScoreAndTotalInThatOrderThenHandsOverToTheButton)
{
    const std::size_t mark = view.calls.size();
    view.setText(Field::txtAnswer, "-16");
    std::int16_t enter = 13;
    game.txtAnswer_KeyPress(enter);
    EXPECT_EQ(CallsSince(mark + 1), (std::vector<std::string>{
                                        "setText lblMessage=Esatto. Sei proprio in gamba!",
                                        "setText lblScore=1",
                                        "setText lblScore2=1",
                                        "nextEnabled 1",
                                        "focus cmdNext",
                                    }));
    EXPECT_EQ(view.text(Field::lblScore1), "0") << "a right answer leaves the wrong tally alone";
    EXPECT_TRUE(view.nextEnabled);
}

TEST_F(AnswerBox, AWrongAnswerShowsTheProductThenTheWrongTallyBeforeScoreAndTotal)
{
    const std::size_t mark = view.calls.size();
    view.setText(Field::txtAnswer, "16");
    std::int16_t enter = 13;
    game.txtAnswer_KeyPress(enter);
    EXPECT_EQ(CallsSince(mark + 1), (std::vector<std::string>{
                                        "setText lblMessage=Sbagliato!! -16",
                                        "setText lblScore1=1",
                                        "setText lblScore=0",
                                        "setText lblScore2=1",
                                        "nextEnabled 1",
                                        "focus cmdNext",
                                    }));
}

TEST_F(AnswerBox, ReadsOnlyTheLeadingNumberOfTheText)
{
    Answer("-16-3");
    EXPECT_EQ(view.text(Field::lblMessage), "Esatto. Sei proprio in gamba!");
    ScriptQuestion(0.3, 0.18, 0.5);
    game.cmdNext_Click();
    Answer("");  // an empty box is the answer 0
    EXPECT_EQ(view.text(Field::lblMessage), "Sbagliato!! -16");
}

TEST_F(AnswerBox, CountsAnAnswerAgainWhenEnterReachesItTwice)
{
    Answer("-16");
    std::int16_t enter = 13;
    game.txtAnswer_KeyPress(enter);
    EXPECT_EQ(view.text(Field::lblScore), "2");
    EXPECT_EQ(view.text(Field::lblScore2), "2");
}

TEST_F(AnswerBox, TreatsAPastedAnswerOutsideSixteenBitsAsWrong)
{
    for (const char* pasted : {"9e99", "-1e9", "99999"}) {
        view.setText(Field::txtAnswer, pasted);
        std::int16_t enter = 13;
        game.txtAnswer_KeyPress(enter);
        EXPECT_EQ(view.text(Field::lblMessage), "Sbagliato!! -16") << pasted;
    }
    EXPECT_EQ(view.text(Field::lblScore1), "3");
}

TEST_F(AnswerBox, StopsAllThreeTalliesAt32767InsteadOfWrappingOrGrowingPast)
{
    view.setText(Field::txtAnswer, "-16");
    std::int16_t enter = 13;
    for (int i = 0; i < 32767 + 5; ++i) game.txtAnswer_KeyPress(enter);
    view.setText(Field::txtAnswer, "0");
    for (int i = 0; i < 32767 + 5; ++i) game.txtAnswer_KeyPress(enter);
    EXPECT_EQ(game.state().correctCount, 32767);
    EXPECT_EQ(game.state().wrongCount, 32767);
    EXPECT_EQ(view.text(Field::lblScore), "32767");
    EXPECT_EQ(view.text(Field::lblScore1), "32767");
    EXPECT_EQ(view.text(Field::lblScore2), "32767") << "the answers given stop where the other two do";

    // The record that such a score leaves behind is positive.
    view.calls.clear();
    game.cmdExit_Click();
    EXPECT_EQ(ScoreFile(), "32767\r\n");
}

}  // namespace
}  // namespace brivana::testing
