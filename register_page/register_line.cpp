#include "register_page/register_line.h"

#include <charconv>
#include <vector>

#include "register_page/periods.h"

namespace brivana::register_page {

namespace {

std::vector<std::string_view> Fields(std::string_view line)
{
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t tab = line.find('\t');
        fields.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos) return fields;
        line.remove_prefix(tab + 1);
    }
}

bool Number(std::string_view text, int& value, int highest)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value >= 0 && value <= highest;
}

}  // namespace

// date time, computer, pupil, right, wrong, total, seconds, ending (T, E, N, F), record (0, 1),
// separated by tabs: "2026-12-08 09:41:07\tLAB-03\tGiulia\t12\t3\t15\t900\tT\t0".
std::optional<PlayedGame> DecodeRegisterLine(std::string_view line)
{
    const std::vector<std::string_view> fields = Fields(line);
    if (fields.size() != 9 || fields[0].size() != 19) return std::nullopt;
    PlayedGame game;
    const std::string_view when = fields[0];
    if (when[4] != '-' || when[7] != '-' || when[10] != ' ' || when[13] != ':' || when[16] != ':') return std::nullopt;
    Moment& m = game.when;
    if (!Number(when.substr(0, 4), m.year, 9999) || !Number(when.substr(5, 2), m.month, 12) ||
        !Number(when.substr(8, 2), m.day, 31) || !Number(when.substr(11, 2), m.hour, 23) ||
        !Number(when.substr(14, 2), m.minute, 59) || !Number(when.substr(17, 2), m.second, 59) || !IsValidMoment(m))
        return std::nullopt;
    if (fields[1].empty() || fields[1].size() > 255 || fields[2].size() > 255) return std::nullopt;
    game.computer = fields[1];
    game.pupil = fields[2];
    constexpr int kMost = 1000000;
    if (!Number(fields[3], game.right, kMost) || !Number(fields[4], game.wrong, kMost) ||
        !Number(fields[5], game.total, kMost) || game.right + game.wrong != game.total ||
        !Number(fields[6], game.seconds, kMost))
        return std::nullopt;
    if (fields[7] == "T") game.ending = GameEnding::clockRanOut;
    else if (fields[7] == "E") game.ending = GameEnding::exitChosen;
    else if (fields[7] == "N") game.ending = GameEnding::newGameStarted;
    else if (fields[7] == "F") game.ending = GameEnding::windowClosed;
    else return std::nullopt;
    if (fields[8] != "0" && fields[8] != "1") return std::nullopt;
    game.setRecord = fields[8] == "1";
    return game;
}

std::string RegisterFileName(int schoolYear)
{
    return "registro-" + std::to_string(schoolYear) + "-" + std::to_string(schoolYear + 1) + ".txt";
}

}  // namespace brivana::register_page
