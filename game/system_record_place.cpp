#include "game/system_record_place.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "game/system_error_text.h"

namespace brivana {

namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

std::string WithSeparator(std::string dir)
{
    if (dir.empty() || dir.back() != kSeparator) dir += kSeparator;
    return dir;
}

std::string SharedRecordDirectory()
{
#ifdef _WIN32
    return WindowsDirectory().value_or(std::string());
#else
    return "/var/games/brivana/";
#endif
}

#ifdef _WIN32

// Paths here are in the system's ANSI code page, as GetWindowsDirectoryA and the environment
// give them; every call below takes them in that code page too.
// Whether anything bears the name. With its trailing backslash a file's name would name nothing.
bool Exists(std::string path)
{
    while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsDirectory(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Creates dir and its parents; an empty text when it exists afterwards, otherwise why not.
std::string MakeDirectory(const std::string& dir)
{
    // Every prefix that ends before a separator, then dir itself, from the top down;
    // prefixes that cannot be directories ("C:", a server's name) just fail on the way.
    DWORD error = ERROR_SUCCESS;
    for (std::size_t end = dir.find_first_of("\\/", 1);; end = dir.find_first_of("\\/", end + 1)) {
        const std::string part = dir.substr(0, end);
        if (!IsDirectory(part)) error = CreateDirectoryA(part.c_str(), nullptr) ? ERROR_SUCCESS : GetLastError();
        if (end == std::string::npos) break;
    }
    if (IsDirectory(dir)) return {};
    const bool blocked = error == ERROR_SUCCESS || error == ERROR_ALREADY_EXISTS;
    const std::string why =
        blocked ? std::string("esiste già un file con quel nome") : SystemErrorText(static_cast<int>(error));
    return "Non riesco a creare la cartella " + PathForDisplay(dir) + ": " + why + ".";
}

#else

bool Exists(const std::string& path)
{
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::path(path), ignored);
}

// Creates dir and its parents; an empty text when it exists afterwards, otherwise why not.
std::string MakeDirectory(const std::string& dir)
{
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(dir), error);
    if (std::filesystem::is_directory(std::filesystem::path(dir), error)) return {};
    return "Non riesco a creare la cartella " + dir + ": " +
           (error ? SystemErrorText(error.value()) : std::string("esiste già un file con quel nome")) + ".";
}

#endif

}  // namespace

#ifdef _WIN32

std::optional<std::string> WindowsDirectory()
{
    // A return at or above the buffer size is the size needed, terminating zero included.
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const UINT length = GetWindowsDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
        if (length == 0) return std::nullopt;
        if (length < buffer.size()) return WithSeparator(std::string(buffer.data(), length));
        buffer.resize(length + 1);
    }
}

std::string UserRecordDirectory()
{
    const char* localAppData = std::getenv("LOCALAPPDATA");
    if (localAppData && *localAppData) return WithSeparator(localAppData) + "Brivana\\";
    const char* profile = std::getenv("USERPROFILE");
    return WithSeparator(profile ? profile : "C:\\") + "AppData\\Local\\Brivana\\";
}

bool CanKeepRecordsIn(const std::string& dir)
{
    const DWORD attributes = GetFileAttributesA(dir.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    const std::string probe = WithSeparator(dir) + "brivana-" + std::to_string(GetCurrentProcessId()) + ".probe";
    const std::string moved = probe + ".moved";
    HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    const bool replaced = MoveFileExA(probe.c_str(), moved.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    DeleteFileA(replaced ? moved.c_str() : probe.c_str());
    return replaced;
}

#else

std::string UserRecordDirectory()
{
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && dataHome[0] == '/') return WithSeparator(dataHome) + "brivana/";
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') {
        const passwd* user = ::getpwuid(::getuid());
        home = user && user->pw_dir ? user->pw_dir : "/tmp";
    }
    return WithSeparator(home) + ".local/share/brivana/";
}

bool CanKeepRecordsIn(const std::string& dir)
{
    struct stat info {};
    std::string path = dir;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    if (::lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
    const std::string probe = WithSeparator(dir) + ".brivana-" + std::to_string(::getpid()) + ".probe";
    const std::string moved = probe + ".moved";
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    ::close(fd);
    const bool replaced = ::rename(probe.c_str(), moved.c_str()) == 0;
    ::unlink(replaced ? moved.c_str() : probe.c_str());
    return replaced;
}

#endif

SystemRecordPlace::SystemRecordPlace() : SystemRecordPlace(SharedRecordDirectory(), UserRecordDirectory()) {}

SystemRecordPlace::SystemRecordPlace(std::string sharedDir, std::string userDir)
    : sharedDir_(std::move(sharedDir)), userDir_(std::move(userDir))
{
}

RecordLocation SystemRecordPlace::locate()
{
    if (!sharedDir_.empty() && CanKeepRecordsIn(sharedDir_)) return {sharedDir_, {}};

    RecordLocation location{userDir_, {}};
    // Where the shared place exists but is closed to this user, say where the record goes instead.
    if (!sharedDir_.empty() && Exists(sharedDir_))
        location.notice = "Non posso scrivere il record nella cartella comune " + PathForDisplay(sharedDir_) +
                          ": il tuo record sarà conservato nella tua cartella personale " +
                          PathForDisplay(userDir_) + ".";
    if (std::string problem = MakeDirectory(userDir_); !problem.empty())
        location.notice += (location.notice.empty() ? "" : "\n") + problem;
    return location;
}

}  // namespace brivana
