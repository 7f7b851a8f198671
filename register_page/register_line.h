#pragma once
// The register's own line and file name, as the page reads them.

#include <optional>
#include <string>
#include <string_view>

#include "register_page/played_game.h"

namespace brivana::register_page {

// One line of the register, without its line end; nothing when it is not a whole valid line.
std::optional<PlayedGame> DecodeRegisterLine(std::string_view line);

// The name of the register file of the school year that began in September of `schoolYear`.
std::string RegisterFileName(int schoolYear);

}  // namespace brivana::register_page
