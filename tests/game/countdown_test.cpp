// The fifteen-minute countdown and the end it brings.
#include "game_fixture.h"

namespace brivana::testing {
namespace {

class Countdown : public GameFixture {
protected:
    void SetUp() override { StartGame("Anna"); }
    void Tick(int times)
    {
        for (int i = 0; i < times; ++i) game.Timer1_Timer();
    }
};

TEST_F(Countdown, StartsAtFifteenMinutesWithTheTimerRunning)
{
    EXPECT_EQ(view.text(Field::lblconto), "00:15:00");
    EXPECT_TRUE(view.timerEnabled);
}

TEST_F(Countdown, ShowsTheTimeLeftAcrossMinuteBoundaries)
{
    Tick(1);
    EXPECT_EQ(view.text(Field::lblconto), "00:14:59");
    Tick(59);
    EXPECT_EQ(view.text(Field::lblconto), "00:14:00");
    Tick(1);
    EXPECT_EQ(view.text(Field::lblconto), "00:13:59");
    Tick(839);
    EXPECT_EQ(view.text(Field::lblconto), "00:00:00");
    EXPECT_EQ(view.programEnds, 0);
}

TEST_F(Countdown, EndsTheGameOnTheTickAfterReachingZero)
{
    Tick(900);
    const std::size_t messagesBefore = view.messages().size();
    Tick(1);
    ASSERT_EQ(view.messages().size(), messagesBefore + 1);
    EXPECT_EQ(view.dialogs.back().text, "Ciao Anna, alla prossima sfida!");
    EXPECT_EQ(view.programEnds, 1);
    EXPECT_EQ(view.text(Field::lblconto), "00:00:00");
}

TEST_F(Countdown, TicksDuringTheFarewellDoNotStartASecondEnd)
{
    Tick(900);
    int ticksWhileOpen = 0;
    view.whileMessageOpen = [&](const Dialog&) {
        if (ticksWhileOpen++ < 5) {
            game.Timer1_Timer();
            game.cmdExit_Click();
        }
    };
    Tick(1);
    EXPECT_EQ(view.messages().size(), 2u) << "greeting and one farewell";
    EXPECT_EQ(view.programEnds, 1);
}

}  // namespace
}  // namespace brivana::testing
