#include "register_page/register_line.h"

#include <cstdio>
#include <string>

#include "game/register_line.h"
#include "register_page/periods.h"

namespace brivana::register_page {

std::optional<PlayedGame> GameOfRegisterLine(std::string_view text)
{
    const std::optional<RegisterLine> line = DecodeRegisterLine(text);
    if (!line) return std::nullopt;
    PlayedGame game;
    Moment& when = game.when;
    // The register checked the form "2026-12-08 09:41:07"; the page needs a day of the calendar.
    if (std::sscanf(line->when.c_str(), "%d-%d-%d %d:%d:%d", &when.year, &when.month, &when.day, &when.hour,
                    &when.minute, &when.second) != 6)
        return std::nullopt;
    if (when.second == 60) when.second = 59;  // a leap second
    if (!IsValidMoment(when)) return std::nullopt;
    game.computer = line->computer;
    game.pupil = line->result.pupil;
    game.right = line->result.right;
    game.wrong = line->result.wrong;
    game.total = line->result.total;
    game.seconds = line->result.seconds;
    game.ending = line->result.ending;
    game.setRecord = line->result.record;
    return game;
}

}  // namespace brivana::register_page
