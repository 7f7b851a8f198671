// The fifteen-minute countdown.
#include "game/game.h"
#include "game/text_rules.h"

namespace brivana {

void Game::StartClock()
{
    view_.setTimerEnabled(true);
    state_.clockHours = 0;
    state_.clockMinutes = 15;
    state_.clockSeconds = 0;
    view_.setText(Field::lblconto, ClockText());
}

std::string Game::ClockText() const
{
    return NumberText(state_.clockHours, "00") + ":" + NumberText(state_.clockMinutes, "00") + ":" +
           NumberText(state_.clockSeconds, "00");
}

void Game::Timer1_Timer()
{
    if (ended_) return;
    if (view_.text(Field::lblconto) == "00:00:00") {
        EndGame(GameEnding::clockRanOut);
        return;
    }

    if (state_.clockSeconds == 0) {
        if (state_.clockMinutes > 0) {
            --state_.clockMinutes;
            state_.clockSeconds = 60;
        } else if (state_.clockMinutes == 0) {
            if (state_.clockHours > 0) {
                --state_.clockHours;
                state_.clockMinutes = 59;
                state_.clockSeconds = 60;
            } else {
                state_.clockHours = 0;
                state_.clockMinutes = 0;
            }
        }
    }
    state_.clockSeconds -= 1;
    view_.setText(Field::lblconto, ClockText());
}

}  // namespace brivana
