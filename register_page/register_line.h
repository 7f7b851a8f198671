#pragma once
// A line of the register as the page reads it: the register's own decoding, turned into a game.

#include <optional>
#include <string_view>

#include "register_page/played_game.h"

namespace brivana::register_page {

// One line of the register, without its line end; nothing when it is not a whole valid line
// of a real day.
std::optional<PlayedGame> GameOfRegisterLine(std::string_view line);

}  // namespace brivana::register_page
