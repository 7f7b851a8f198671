#include "register_page/periods.h"

#include <chrono>

#include "game/register_line.h"

namespace brivana::register_page {

namespace {

std::chrono::year_month_day DateOf(const Moment& moment)
{
    return std::chrono::year{moment.year} / std::chrono::month{static_cast<unsigned>(moment.month)} /
           std::chrono::day{static_cast<unsigned>(moment.day)};
}

Moment StartOf(std::chrono::year_month_day date)
{
    return {static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day())), 0, 0, 0};
}

}  // namespace

int SchoolYearOf(const Moment& day) { return brivana::SchoolYearOf(day.year, day.month); }

std::array<Period, 3> PeriodsOf(const Moment& today)
{
    const std::chrono::sys_days day{DateOf(today)};
    // Monday starts the week in Italy.
    const std::chrono::sys_days monday = day - (std::chrono::weekday{day} - std::chrono::Monday);
    return {{
        {"settimana", "Questa settimana", StartOf(std::chrono::year_month_day{monday})},
        {"mese", "Questo mese", {today.year, today.month, 1, 0, 0, 0}},
        {"anno", "Anno scolastico " + std::to_string(SchoolYearOf(today)) + "/" +
                     std::to_string(SchoolYearOf(today) + 1),
         {SchoolYearOf(today), 9, 1, 0, 0, 0}},
    }};
}

bool IsValidMoment(const Moment& moment)
{
    return moment.year >= 1 && moment.year <= 9999 && moment.month >= 1 && moment.month <= 12 && moment.day >= 1 &&
           moment.day <= 31 && DateOf(moment).ok() && moment.hour >= 0 && moment.hour < 24 && moment.minute >= 0 &&
           moment.minute < 60 && moment.second >= 0 && moment.second < 60;
}

}  // namespace brivana::register_page
