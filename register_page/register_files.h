#pragma once
// From the register file to the teacher's two files: reads the register of the current school
// year and writes the page and the spreadsheet file into a folder of the teacher's own.

#include <string>

#include "register_page/played_game.h"

namespace brivana::register_page {

struct PageRequest {
    std::string recordDir;  // the register's folder, ending in a path separator
    std::string outputDir;  // the teacher's own folder, ending in a path separator; made when missing
    Moment now;
    std::string clearHint;  // how a school year is cleared on this system, in Italian
};

struct PageFiles {
    bool made = false;
    std::string pagePath;  // when made
    std::string problem;   // in Italian, when not made
};

PageFiles MakeRegisterFiles(const PageRequest& request);

}  // namespace brivana::register_page
