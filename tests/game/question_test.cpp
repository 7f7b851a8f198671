// Posing a question: factors, signs, product, notice and the order the player sees.
#include <algorithm>

#include "game_fixture.h"

namespace brivana::testing {
namespace {

class Question : public GameFixture {
protected:
    void SetUp() override { StartGame("Anna", 0.5, 0.5, 0.5); }
};

TEST_F(Question, DrawsTheFactorsAndSignPatternFromThreeValues)
{
    struct Case { double pR, qR, sR; const char* a; const char* b; int product; int p, q; };
    const Case cases[] = {
        {0.0, 0.0, 0.0, "0", "0", 0, 0, 0},                     // a draw of exactly 0
        {0.05, 0.04, 0.1, "-1", "-1", 1, -1, -1},               // both negative
        {0.3, 0.5, 0.4, "-4", "10", -40, -4, -10},              // only the first negative
        {0.3, 0.5, 0.9, "4", "-10", -40, -4, -10},              // only the second negative
        {0.9999999, 0.9999999, 0.9999999, "11", "-20", -220, -11, -20},
        {0.9999999, 0.9999999, 0.5, "-11", "20", -220, -11, -20},
        {0.9999999, 0.9999999, 0.0, "-11", "-20", 220, -11, -20},
    };
    for (const Case& c : cases) {
        ScriptQuestion(c.pR, c.qR, c.sR);
        game.cmdNext_Click();
        SCOPED_TRACE(std::to_string(c.pR) + " " + std::to_string(c.qR) + " " + std::to_string(c.sR));
        EXPECT_EQ(view.text(Field::lblNum1), c.a);
        EXPECT_EQ(view.text(Field::lblNum2), c.b);
        EXPECT_EQ(game.state().expectedProduct, c.product);
        EXPECT_EQ(view.paintedP, c.p);
        EXPECT_EQ(view.paintedQ, c.q);
        EXPECT_EQ(view.text(Field::lblnum5), "0");
    }
}

TEST_F(Question, ReseedsBeforeTheFactorsAndAgainBeforeTheSign)
{
    random.log.clear();
    ScriptQuestion(0.2, 0.2, 0.2);
    game.cmdNext_Click();
    EXPECT_EQ(random.log, "RddRd");
}

TEST_F(Question, ClearsTheAnswerShowsTheFactorsLocksTheButtonPaintsAndFocusesTheBox)
{
    Answer("7");
    const std::size_t mark = view.calls.size();
    ScriptQuestion(0.3, 0.5, 0.4);
    game.cmdNext_Click();
    EXPECT_EQ(CallsSince(mark), (std::vector<std::string>{
                                    "setText txtAnswer=",
                                    "setText lblMessage=",
                                    "setText lblNum1=-4",
                                    "setText lblnum5=0",
                                    "setText lblNum2=10",
                                    "nextEnabled 0",
                                    "paint -4 -10",
                                    "focus txtAnswer",
                                }));
    EXPECT_FALSE(view.nextEnabled);
}

class RecordNotice : public GameFixture {};

TEST_F(RecordNotice, AppearsWhenTheScoreIsExactlyOneAboveTheRecord)
{
    WriteBytes(dir.file("briv2s.txt"), "2\r\n");
    StartGame("Anna", 0.5, 0.5, 0.5);
    AnswerRight();
    AnswerRight();
    EXPECT_EQ(view.messages().size(), 1u) << "the greeting only, while the score is at most the record";
    AnswerRight();  // score 3 = record + 1: the question after shows the notice
    ASSERT_EQ(view.messages().size(), 2u);
    EXPECT_EQ(view.dialogs.back().text, "E' record");
    EXPECT_EQ(view.dialogs.back().style, MsgStyle::ok);
    EXPECT_EQ(view.dialogs.back().title, "");
}

TEST_F(RecordNotice, ComesBeforeThePaintAndRepeatsWhileTheScoreStaysAtRecordPlusOne)
{
    StartGame("Anna", 0.5, 0.5, 0.5);  // empty score file: record 0
    AnswerRight();
    ASSERT_EQ(view.messages().back(), "E' record");
    const auto notice = std::find(view.calls.rbegin(), view.calls.rend(), "message E' record");
    const auto paint = std::find_if(view.calls.rbegin(), view.calls.rend(),
                                    [](const std::string& call) { return call.rfind("paint", 0) == 0; });
    EXPECT_LT(paint - view.calls.rbegin(), notice - view.calls.rbegin()) << "the notice comes before the paint";

    AnswerWrong();
    EXPECT_EQ(view.messages().size(), 3u);
    AnswerRight();  // score 2: past the record by more than one
    EXPECT_EQ(view.messages().size(), 3u);
}

TEST_F(RecordNotice, NoQuestionIsPaintedWhenTheClockRunsOutWhileTheNoticeIsOpen)
{
    StartGame("Anna", 0.5, 0.5, 0.5);
    Answer(std::to_string(game.state().expectedProduct));
    for (int i = 0; i < 900; ++i) game.Timer1_Timer();
    view.whileMessageOpen = [this](const Dialog& dialog) {
        if (dialog.text == "E' record") game.Timer1_Timer();
    };
    ScriptQuestion(0.5, 0.5, 0.5);
    const int paints = view.paints;
    game.cmdNext_Click();
    EXPECT_EQ(view.paints, paints);
    EXPECT_EQ(view.calls.back(), "end") << "nothing after the end";
}

}  // namespace
}  // namespace brivana::testing
