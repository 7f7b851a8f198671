#pragma once
// What the page says of each pupil over a period: games played, best and last total, the share
// of right answers, the last game, and each game's right answers for the chart.

#include <string>
#include <vector>

#include "register_page/played_game.h"

namespace brivana::register_page {

struct ChartPoint {
    Moment when;
    int right = 0;
};

struct PupilSummary {
    std::string name;  // as typed in the pupil's latest game
    int games = 0;
    int bestTotal = 0;
    int lastTotal = 0;
    long long right = 0;    // over all the games
    long long answers = 0;  // over all the games
    Moment lastPlayed;
    std::vector<ChartPoint> points;  // oldest first
};

// The pupils who played from `from` on, in alphabetical order. Names are the same pupil when
// they differ only in the case of plain letters and in spaces around or between words.
// Games may come in any order.
std::vector<PupilSummary> SummarizePupils(const std::vector<PlayedGame>& games, const Moment& from);

// The games played from `from` on, oldest first.
std::vector<PlayedGame> GamesFrom(const std::vector<PlayedGame>& games, const Moment& from);

// The share of right answers in whole percent, rounded; nothing to say (-1) without answers.
int RightPercent(long long right, long long answers);

}  // namespace brivana::register_page
