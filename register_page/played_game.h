#pragma once
// One game as the teacher's page shows it: one readable line of the register.

#include <compare>
#include <string>

#include "game/register_line.h"

namespace brivana::register_page {

// A local date and time as the register wrote it.
struct Moment {
    int year = 0;
    int month = 0;   // 1-12
    int day = 0;     // 1-31
    int hour = 0;
    int minute = 0;
    int second = 0;
    auto operator<=>(const Moment&) const = default;
};

struct PlayedGame {
    Moment when;
    std::string computer;
    std::string pupil;  // as typed
    int right = 0;
    int wrong = 0;
    int total = 0;  // answers given
    int seconds = 0;  // seconds played
    GameEnding ending = GameEnding::clockRanOut;
    bool setRecord = false;
};

}  // namespace brivana::register_page
