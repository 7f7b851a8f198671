#include "register_page/pupil_summary.h"

#include <algorithm>
#include <map>

namespace brivana::register_page {

namespace {

// The key under which one pupil's games are gathered.
std::string PupilKey(const std::string& name)
{
    std::string key;
    for (const char c : name) {
        if (c == ' ' || c == '\t') {
            if (!key.empty() && key.back() != ' ') key += ' ';
        } else {
            key += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        }
    }
    if (!key.empty() && key.back() == ' ') key.pop_back();
    return key;
}

}  // namespace

std::vector<PlayedGame> GamesFrom(const std::vector<PlayedGame>& games, const Moment& from)
{
    std::vector<PlayedGame> chosen;
    std::copy_if(games.begin(), games.end(), std::back_inserter(chosen),
                 [&from](const PlayedGame& game) { return game.when >= from; });
    std::stable_sort(chosen.begin(), chosen.end(),
                     [](const PlayedGame& a, const PlayedGame& b) { return a.when < b.when; });
    return chosen;
}

std::vector<PupilSummary> SummarizePupils(const std::vector<PlayedGame>& games, const Moment& from)
{
    std::map<std::string, PupilSummary> pupils;
    for (const PlayedGame& game : GamesFrom(games, from)) {
        PupilSummary& pupil = pupils[PupilKey(game.pupil)];
        pupil.name = game.pupil;
        ++pupil.games;
        pupil.bestTotal = std::max(pupil.bestTotal, game.total);
        pupil.lastTotal = game.total;
        pupil.right += game.right;
        pupil.answers += game.total;
        pupil.lastPlayed = game.when;
        pupil.points.push_back({game.when, game.right});
    }
    std::vector<PupilSummary> summaries;
    for (auto& [key, pupil] : pupils) summaries.push_back(std::move(pupil));
    return summaries;
}

int RightPercent(long long right, long long answers)
{
    if (answers <= 0) return -1;
    return static_cast<int>((right * 200 + answers) / (answers * 2));
}

}  // namespace brivana::register_page
