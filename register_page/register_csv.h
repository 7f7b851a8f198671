#pragma once
// The register for a spreadsheet: the file Italian LibreOffice Calc and Excel open straight into
// columns. UTF-8 with a byte order mark (so accents survive Excel), CR LF line ends, ';' between
// fields, text fields quoted, dates in ISO form (a date in every language), numbers bare.

#include <string>
#include <vector>

#include "register_page/played_game.h"

namespace brivana::register_page {

// One row per game, oldest first, under a row of headings.
std::string RegisterCsv(const std::vector<PlayedGame>& games);

}  // namespace brivana::register_page
