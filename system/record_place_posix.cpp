#include "system/system_record_place.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include "system/error_text.h"

namespace brivana {

namespace {

std::string WithSeparator(std::string dir)
{
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

std::string WithoutTrailingSeparators(std::string dir)
{
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir;
}

}  // namespace

std::string SharedRecordDirectory() { return "/var/games/brivana/"; }

// Only the package makes /var/games/brivana/.
bool SharedFolderIsTheClassRecord() { return true; }

std::string UserRecordDirectory()
{
    return UserRecordDirectory([](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value ? value : "");
    });
}

std::string UserRecordDirectory(const EnvironmentLookup& environment)
{
    // A relative path in either variable is to be ignored, so the record never lands in
    // whatever folder the game happens to be started from.
    const std::string dataHome = environment("XDG_DATA_HOME");
    if (!dataHome.empty() && dataHome.front() == '/') return WithSeparator(dataHome) + "brivana/";
    std::string home = environment("HOME");
    if (home.empty() || home.front() != '/') {
        const passwd* user = ::getpwuid(::getuid());
        home = user && user->pw_dir && user->pw_dir[0] == '/' ? user->pw_dir : "/tmp";
    }
    return WithSeparator(home) + ".local/share/brivana/";
}

bool CanKeepRecordsIn(const std::string& dir)
{
    struct stat info {};
    if (::lstat(WithoutTrailingSeparators(dir).c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
    // The kernel's own answer for this process's effective rights, access lists included.
    return ::faccessat(AT_FDCWD, dir.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

bool FolderExists(const std::string& dir)
{
    struct stat info {};
    return ::stat(dir.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string MakeFolder(const std::string& dir)
{
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(dir), error);
    if (FolderExists(dir)) return {};
    return "Non riesco a creare la cartella " + dir + ": " +
           (error ? SystemErrorText(error.value()) : std::string("esiste già un file con quel nome")) + ".";
}

bool CreateMarker(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd >= 0) ::close(fd);
    return fd >= 0 || errno != EEXIST;
}

}  // namespace brivana
