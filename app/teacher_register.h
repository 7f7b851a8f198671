#pragma once
// The teacher's register, asked for on the command line instead of a game: `--registro` makes
// the page and the spreadsheet file from the register and opens the page in the browser;
// `--registro --cancella [ANNO]` clears a school year's register after the teacher confirms.
// Shared by both windows' mains.

#include <string>
#include <vector>

#include "game/record_keeper.h"
#include "window_protocol/dialogs.h"

namespace brivana {

struct RegisterCommandServices {
    std::string recordDir;     // the record's folder, as the record place finds it: the keeper's for clearing
    std::string registerDir;   // where the register is read: the lab's folder where one is set, else recordDir
    std::string clearCommand;  // how the teacher runs the clearing here, e.g. "brivana --registro --cancella"
    Dialogs& dialogs;
    RecordKeeper& keeper;  // clears a school year: the register's folder is the keeper's alone
};

// Whether the arguments (without the program's name) ask for the register.
bool AsksForRegister(const std::vector<std::string>& arguments);

// Does what the arguments ask; the program's exit status. Every failure is told in a dialog
// and on the standard error.
int RunRegisterCommand(const std::vector<std::string>& arguments, RegisterCommandServices& services);

}  // namespace brivana
