#include "system/teacher_page_folder.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace brivana {

std::string TeacherPageFolder()
{
    // A relative path is to be ignored, as for every XDG folder.
    const char* cacheHome = std::getenv("XDG_CACHE_HOME");
    if (cacheHome && cacheHome[0] == '/') return std::string(cacheHome) + "/brivana/registro/";
    const char* home = std::getenv("HOME");
    std::string folder = home && home[0] == '/' ? home : "";
    if (folder.empty()) {
        const passwd* user = ::getpwuid(::getuid());
        folder = user && user->pw_dir && user->pw_dir[0] == '/' ? user->pw_dir : "/tmp";
    }
    return folder + "/.cache/brivana/registro/";
}

}  // namespace brivana
