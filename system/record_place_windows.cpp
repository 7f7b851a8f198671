#include "system/system_record_place.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <vector>

#include "system/error_text.h"
#include "system/owned_handle_windows.h"
#include "system/wide_text_windows.h"
#include "system/windows_directory.h"

namespace brivana {

namespace {

std::string WithSeparator(std::string dir)
{
    if (dir.empty() || (dir.back() != '\\' && dir.back() != '/')) dir += '\\';
    return dir;
}

std::string Environment(const char* name)
{
    const std::wstring wideName = Wide(name);
    const DWORD size = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (size == 0) return {};
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(wideName.c_str(), value.data(), size));
    return Utf8(value);
}

DWORD Attributes(const std::string& path) { return GetFileAttributesW(Wide(path).c_str()); }

bool IsFolder(const std::string& path)
{
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::optional<std::string> WindowsDirectory()
{
    // A return at or above the buffer size is the size needed, terminating zero included.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const UINT length = GetWindowsDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
        if (length == 0) return std::nullopt;
        if (length < buffer.size()) return WithSeparator(Utf8(std::wstring(buffer.data(), length)));
        buffer.resize(length + 1);
    }
}

std::string InstalledRecordDirectory()
{
    // Asked of the system rather than of the environment: the service, the installer and every
    // player's game must all find the same folder, whatever their environments say.
    PWSTR found = nullptr;
    // Handed over even when the call fails.
    const HRESULT result = SHGetKnownFolderPath(FOLDERID_ProgramData, 0, nullptr, &found);
    const OwnedTaskMemory<PWSTR> programData(found);
    return SUCCEEDED(result) ? WithSeparator(Utf8(programData.get())) + "Brivana\\" : std::string();
}

std::string SharedRecordDirectory()
{
    // The installer makes this folder for the whole class.
    const std::string installed = InstalledRecordDirectory();
    if (!installed.empty() && IsFolder(installed)) return installed;
    return WindowsDirectory().value_or(std::string());
}

std::string UserRecordDirectory() { return UserRecordDirectory(Environment); }

std::string UserRecordDirectory(const EnvironmentLookup& environment)
{
    const std::string localAppData = environment("LOCALAPPDATA");
    if (!localAppData.empty()) return WithSeparator(localAppData) + "Brivana\\";
    const std::string profile = environment("USERPROFILE");
    return WithSeparator(profile.empty() ? "C:\\" : profile) + "AppData\\Local\\Brivana\\";
}

bool CanKeepRecordsIn(const std::string& dir)
{
    const DWORD attributes = Attributes(dir);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    // Tried for real: access lists are too many to read. A full disk does not close the
    // folder: the save will say what is wrong.
    const std::string probe = WithSeparator(dir) + "brivana-" + std::to_string(GetCurrentProcessId()) + ".probe";
    const std::wstring moved = Wide(probe + ".moved");
    if (!Kernel(CreateFileW(Wide(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                            nullptr))) {
        const DWORD error = GetLastError();
        return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL;
    }
    const bool replaced = MoveFileExW(Wide(probe).c_str(), moved.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    DeleteFileW(replaced ? moved.c_str() : Wide(probe).c_str());
    return replaced;
}

bool FolderExists(const std::string& dir) { return IsFolder(dir); }

// The installer's folder is the class's, kept by the record service; without it the shared one
// is the Windows directory, no class's record.
bool SharedFolderIsTheClassRecord() { return IsFolder(InstalledRecordDirectory()); }

std::string MakeFolder(const std::string& dir)
{
    // Every prefix that ends before a separator, then dir itself, from the top down;
    // prefixes that cannot be folders ("C:", a server's name) just fail on the way.
    DWORD error = ERROR_SUCCESS;
    for (std::size_t end = dir.find_first_of("\\/", 1);; end = dir.find_first_of("\\/", end + 1)) {
        const std::string part = dir.substr(0, end);
        if (!IsFolder(part)) error = CreateDirectoryW(Wide(part).c_str(), nullptr) ? ERROR_SUCCESS : GetLastError();
        if (end == std::string::npos) break;
    }
    if (IsFolder(dir)) return {};
    const bool blocked = error == ERROR_SUCCESS || error == ERROR_ALREADY_EXISTS;
    const std::string why =
        blocked ? std::string("esiste già un file con quel nome") : SystemErrorText(static_cast<int>(error));
    return "Non riesco a creare la cartella " + dir + ": " + why + ".";
}

bool CreateMarker(const std::string& path)
{
    if (Kernel(CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr)))
        return true;
    const DWORD error = GetLastError();
    return error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS;
}

}  // namespace brivana
