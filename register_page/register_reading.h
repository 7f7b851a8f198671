#pragma once
// Reads a register file into the games the page shows, line by line, whatever state the file
// is in: every line that decodes is kept, every other one is counted. Bounded: an endless line
// or a huge file costs a fixed amount of memory.

#include <cstddef>
#include <functional>
#include <istream>
#include <optional>
#include <string_view>
#include <vector>

#include "game/register_line.h"
#include "register_page/played_game.h"

namespace brivana::register_page {

// The entries of a register file, and how many lines could not be read.
struct RegisterReading {
    std::vector<PlayedGame> games;  // in the file's order
    std::size_t unreadableLines = 0;
    bool cutShort = false;  // the file goes on past the most this reads; the rest is left out
};

// One line of the register, without its line end; nothing when it is not a whole valid line.
using LineDecoder = std::function<std::optional<PlayedGame>(std::string_view line)>;

struct ReadingLimits {
    std::size_t longestLine = kRegisterLineLimit;  // longer lines are unreadable, and never held whole
    std::size_t mostBytes = 64 * 1024 * 1024;  // past this the file is cut short
};

RegisterReading ReadRegister(std::istream& in, const LineDecoder& decode, ReadingLimits limits = {});

}  // namespace brivana::register_page
