#pragma once
// The folder of the teacher's own where the register's page and spreadsheet file are written:
// $XDG_CACHE_HOME/brivana/registro/ (by default ~/.cache/brivana/registro/); on Windows
// %LOCALAPPDATA%\Brivana\registro\. Ends in the path separator; not created here.

#include <string>

namespace brivana {

std::string TeacherPageFolder();

}  // namespace brivana
