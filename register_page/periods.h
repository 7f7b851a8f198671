#pragma once
// The periods the teacher picks on the page, each counted back from the day the page is made:
// this week (from Monday), this month, this school year (from 1 September).

#include <array>
#include <string>

#include "register_page/played_game.h"

namespace brivana::register_page {

struct Period {
    std::string id;     // for the page's controls, e.g. "settimana"
    std::string title;  // in Italian, e.g. "Questa settimana"
    Moment from;        // the first moment of the period; it runs to the page's making
};

// The three periods of `today`, shortest first.
std::array<Period, 3> PeriodsOf(const Moment& today);

// The year in which the school year of `day` began: 2026 for any day from 1/9/2026 to 31/8/2027.
int SchoolYearOf(const Moment& day);

// Whether the date is a real day of the calendar, and the time a real time of day.
bool IsValidMoment(const Moment& moment);

}  // namespace brivana::register_page
