#include "system/server_account_windows.h"

#include <windows.h>

#include <dpapi.h>
#include <winnetwk.h>

#include <memory>
#include <vector>

#include "system/error_text.h"
#include "system/owned_handle_windows.h"
#include "system/wide_text_windows.h"

namespace brivana {

namespace {

// A text that holds a password: wiped before its memory is given back.
struct SecretText {
    std::wstring text;
    ~SecretText() { SecureZeroMemory(text.data(), text.size() * sizeof(wchar_t)); }
};

using LocalMemory = Owned<HLOCAL, LocalFree>;

struct FileHandle {
    HANDLE handle;
    ~FileHandle() { if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle); }
};

std::string Why(const std::string& action, DWORD error)
{
    return "Non riesco a " + action + " l'account del server: " + SystemErrorText(static_cast<int>(error)) + ".";
}

// \\server\share of a folder \\server\share\...; empty when it is not such a path.
std::wstring ShareOf(const std::string& labDir)
{
    const std::wstring dir = Wide(labDir);
    if (dir.rfind(L"\\\\", 0) != 0) return {};
    const auto server = dir.find(L'\\', 2);
    if (server == std::wstring::npos || server == 2) return {};
    const auto share = dir.find(L'\\', server + 1);
    return dir.substr(0, share == std::wstring::npos ? dir.size() : share);
}

}  // namespace

std::string KeepServerAccount(const std::string& dir, const std::string& user, const std::string& password)
{
    // The user's name, a zero, the password: encrypted for this computer, readable by any of its
    // processes that can open the file, which only the service and the administrators can.
    SecretText plain{Wide(user) + L'\0' + Wide(password)};
    DATA_BLOB in{static_cast<DWORD>(plain.text.size() * sizeof(wchar_t)), reinterpret_cast<BYTE*>(plain.text.data())};
    DATA_BLOB out{};
    if (!CryptProtectData(&in, L"Brivana", nullptr, nullptr, nullptr,
                          CRYPTPROTECT_LOCAL_MACHINE | CRYPTPROTECT_UI_FORBIDDEN, &out))
        return Why("cifrare", GetLastError());
    const LocalMemory blob(out.pbData);
    const FileHandle file{CreateFileW(Wide(dir + kServerAccountFileName).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)};
    DWORD written = 0;
    if (file.handle == INVALID_HANDLE_VALUE || !WriteFile(file.handle, out.pbData, out.cbData, &written, nullptr) ||
        written != out.cbData || !FlushFileBuffers(file.handle))
        return Why("conservare", GetLastError());
    return {};
}

std::string ConnectWithServerAccount(const std::string& dir, const std::string& labDir)
{
    const FileHandle file{CreateFileW(Wide(dir + kServerAccountFileName).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (file.handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND ? std::string() : Why("leggere", error);
    }
    std::vector<BYTE> sealed(4096);
    DWORD got = 0;
    if (!ReadFile(file.handle, sealed.data(), static_cast<DWORD>(sealed.size()), &got, nullptr))
        return Why("leggere", GetLastError());
    DATA_BLOB in{got, sealed.data()};
    DATA_BLOB out{};
    if (!CryptUnprotectData(&in, nullptr, nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out))
        return Why("decifrare", GetLastError());
    const LocalMemory blob(out.pbData);
    SecretText plain{std::wstring(reinterpret_cast<wchar_t*>(out.pbData), out.cbData / sizeof(wchar_t))};
    SecureZeroMemory(out.pbData, out.cbData);
    const auto split = plain.text.find(L'\0');
    if (split == std::wstring::npos) return Why("leggere", ERROR_INVALID_DATA);
    const std::wstring user = plain.text.substr(0, split);

    std::wstring share = ShareOf(labDir);
    if (share.empty()) return "L'account del server serve solo per una cartella condivisa (\\\\server\\condivisione): " +
                              labDir + " non lo è.";
    NETRESOURCEW resource{};
    resource.dwType = RESOURCETYPE_DISK;
    resource.lpRemoteName = share.data();
    // No drive letter and not remembered: the connection is this service's, for as long as it runs.
    const DWORD result = WNetAddConnection2W(&resource, plain.text.c_str() + split + 1, user.c_str(), 0);
    if (result != NO_ERROR)
        return "Non riesco a collegarmi a " + Utf8(share) + " come " + Utf8(user) + ": " +
               SystemErrorText(static_cast<int>(result)) + ".";
    return {};
}

}  // namespace brivana
