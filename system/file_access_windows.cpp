#include "system/system_file_access.h"

#include <windows.h>

#include <thread>

#include "system/error_text.h"
#include "system/record_security_windows.h"
#include "system/wide_text_windows.h"

namespace brivana {

namespace {

constexpr auto kLockRetry = std::chrono::milliseconds(50);
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Opens a link itself rather than what it points to, and a folder as well as a file, so
// that both can be recognised and refused.
constexpr DWORD kOpenAsNamed = FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS;
// Every game meets the same lock file: while any game has it open nobody can delete or
// rename it, so the lock cannot be split.
constexpr const wchar_t* kLockFileName = L"brivana.lock";

IoStatus Failure(const std::string& action, const std::string& path, DWORD error = GetLastError())
{
    return IoStatus::failure(FileErrorText(action, path, static_cast<int>(error)));
}

bool IsMissingError(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

IoStatus NotARegularFile(const std::string& action, const std::string& path)
{
    return IoStatus::failure("Non riesco a " + action + " " + path + ": non è un file normale.");
}

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() { if (valid()) CloseHandle(handle_); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    HANDLE release() { const HANDLE handle = handle_; handle_ = INVALID_HANDLE_VALUE; return handle; }
    void reset(HANDLE handle)
    {
        if (valid()) CloseHandle(handle_);
        handle_ = handle;
    }

private:
    HANDLE handle_;
};

// A plain file on a disk: not a folder, not a link, not a pipe or a device.
bool IsRegular(HANDLE handle)
{
    BY_HANDLE_FILE_INFORMATION info{};
    return GetFileType(handle) == FILE_TYPE_DISK && GetFileInformationByHandle(handle, &info) &&
           !(info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
}

// Opens an existing regular file as it is named, or says why not.
IoStatus OpenRegular(const std::string& action, const std::string& path, DWORD access, Handle& file)
{
    file.reset(CreateFileW(Wide(path).c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL | kOpenAsNamed, nullptr));
    if (!file.valid()) {
        const DWORD error = GetLastError();
        if (IsMissingError(error)) return IoStatus::missingFile(FileErrorText(action, path, static_cast<int>(error)));
        return Failure(action, path, error);
    }
    if (!IsRegular(file.get())) return NotARegularFile(action, path);
    return IoStatus::success();
}

class WindowsLock final : public FileLock {
public:
    explicit WindowsLock(HANDLE handle) : handle_(handle) {}
    ~WindowsLock() override
    {
        OVERLAPPED whole{};
        UnlockFileEx(handle_, 0, 1, 0, &whole);
        CloseHandle(handle_);
    }

private:
    HANDLE handle_;
};

}  // namespace

IoStatus SystemFileAccess::lockFolder(const std::string& dir, std::chrono::milliseconds wait,
                                      std::unique_ptr<FileLock>& lock)
{
    const std::string path = dir + "brivana.lock";
    const std::wstring widePath = Wide(dir) + kLockFileName;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        // No FILE_SHARE_DELETE: see kLockFileName.
        Handle file(CreateFileW(widePath.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | kOpenAsNamed, nullptr));
        DWORD error = ERROR_SUCCESS;
        if (!file.valid()) {
            error = GetLastError();
            if (error != ERROR_SHARING_VIOLATION) return Failure("riservare", path, error);
        } else if (!IsRegular(file.get())) {
            return NotARegularFile("riservare", path);
        } else {
            OVERLAPPED whole{};
            if (LockFileEx(file.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole)) {
                lock = std::make_unique<WindowsLock>(file.release());
                return IoStatus::success();
            }
            error = GetLastError();
            if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING) return Failure("riservare", path, error);
        }
        if (std::chrono::steady_clock::now() >= deadline) return Failure("riservare", path, ERROR_TIMEOUT);
        std::this_thread::sleep_for(kLockRetry);
    }
}

IoStatus SystemFileAccess::list(const std::string& dir, std::vector<std::string>& names)
{
    names.clear();
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((Wide(dir) + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return Failure("leggere la cartella", dir);
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(Utf8(name));
    } while (FindNextFileW(search, &found));
    const DWORD error = GetLastError();
    FindClose(search);
    return error == ERROR_NO_MORE_FILES ? IoStatus::success() : Failure("leggere la cartella", dir, error);
}

IoStatus SystemFileAccess::ensureFile(const std::string& path)
{
    // CREATE_NEW: a link or anything else already bearing the name is never followed.
    Handle file(CreateFileW(Wide(path).c_str(), GENERIC_READ, kShareAll, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                            nullptr));
    if (file.valid()) return IoStatus::success();
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return Failure("creare", path, error);
    Handle existing(CreateFileW(Wide(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                                kOpenAsNamed, nullptr));
    // A file there that this player may not look at is still a file: reading it says why.
    if (!existing.valid()) return GetLastError() == ERROR_ACCESS_DENIED ? IoStatus::success() : Failure("creare", path);
    if (!IsRegular(existing.get())) return NotARegularFile("creare", path);
    return IoStatus::success();
}

IoStatus SystemFileAccess::readHead(const std::string& path, std::size_t maxBytes, std::string& out)
{
    out.clear();
    Handle file(INVALID_HANDLE_VALUE);
    if (IoStatus status = OpenRegular("leggere", path, GENERIC_READ, file); !status.ok()) return status;
    out.resize(maxBytes);
    std::size_t got = 0;
    while (got < maxBytes) {
        DWORD read = 0;
        if (!ReadFile(file.get(), out.data() + got, static_cast<DWORD>(maxBytes - got), &read, nullptr)) {
            out.clear();
            return Failure("leggere", path);
        }
        if (read == 0) break;
        got += read;
    }
    out.resize(got);
    return IoStatus::success();
}

IoStatus SystemFileAccess::writeNew(const std::string& path, const std::string& bytes)
{
    Handle file(CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                            nullptr));
    if (!file.valid()) return Failure("scrivere", path);
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written, nullptr))
            return Failure("scrivere", path);
        if (written == 0) return Failure("scrivere", path, ERROR_HANDLE_DISK_FULL);
        done += written;
    }
    if (!CloseHandle(file.release())) return Failure("scrivere", path);
    return IoStatus::success();
}

IoStatus SystemFileAccess::syncFile(const std::string& path)
{
    Handle file(INVALID_HANDLE_VALUE);
    if (IoStatus status = OpenRegular("scrivere", path, GENERIC_WRITE, file); !status.ok()) return status;
    if (!FlushFileBuffers(file.get())) return Failure("scrivere", path);
    return IoStatus::success();
}

IoStatus SystemFileAccess::replace(const std::string& from, const std::string& to)
{
    if (!MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return Failure("sostituire", to);
    return IoStatus::success();
}

IoStatus SystemFileAccess::remove(const std::string& path)
{
    if (!DeleteFileW(Wide(path).c_str()) && !IsMissingError(GetLastError())) return Failure("cancellare", path);
    return IoStatus::success();
}

IoStatus SystemFileAccess::syncDirectory(const std::string&)
{
    // MOVEFILE_WRITE_THROUGH has already made each rename durable, and DeleteFileW needs no more.
    return IoStatus::success();
}

}  // namespace brivana

namespace brivana {

IoStatus SystemFileAccess::readTail(const std::string& path, std::size_t maxBytes, std::string& out,
                                    std::uint64_t& size)
{
    out.clear();
    size = 0;
    Handle file(INVALID_HANDLE_VALUE);
    if (IoStatus status = OpenRegular("leggere", path, GENERIC_READ, file); !status.ok()) return status;
    LARGE_INTEGER length{};
    if (!GetFileSizeEx(file.get(), &length)) return Failure("leggere", path);
    size = static_cast<std::uint64_t>(length.QuadPart);
    const std::uint64_t from = size > maxBytes ? size - maxBytes : 0;
    LARGE_INTEGER start{};
    start.QuadPart = static_cast<LONGLONG>(from);
    if (!SetFilePointerEx(file.get(), start, nullptr, FILE_BEGIN)) return Failure("leggere", path);
    out.resize(static_cast<std::size_t>(size - from));
    std::size_t got = 0;
    while (got < out.size()) {
        DWORD read = 0;
        if (!ReadFile(file.get(), out.data() + got, static_cast<DWORD>(out.size() - got), &read, nullptr))
            return Failure("leggere", path);
        if (read == 0) break;
        got += read;
    }
    out.resize(got);
    return IoStatus::success();
}

IoStatus SystemFileAccess::appendPrivate(const std::string& path, const std::string& bytes)
{
    // A new file gets the register's own access list; without one, the folder's.
    SecurityAttributes security(privateFileSddl_);
    if (!privateFileSddl_.empty() && !security.get()) return Failure("creare", path, ERROR_INVALID_SECURITY_DESCR);
    Handle file(CreateFileW(Wide(path).c_str(), FILE_APPEND_DATA | SYNCHRONIZE, FILE_SHARE_READ, security.get(),
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file.valid()) return Failure("scrivere", path);
    if (!IsRegular(file.get())) return NotARegularFile("scrivere", path);
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written, nullptr))
            return Failure("scrivere", path);
        if (written == 0) return Failure("scrivere", path, ERROR_HANDLE_DISK_FULL);
        done += written;
    }
    if (!CloseHandle(file.release())) return Failure("scrivere", path);
    return IoStatus::success();
}

IoStatus SystemFileAccess::truncate(const std::string& path, std::uint64_t size)
{
    Handle file(INVALID_HANDLE_VALUE);
    if (IoStatus status = OpenRegular("accorciare", path, GENERIC_WRITE, file); !status.ok()) return status;
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    if (!SetFileInformationByHandle(file.get(), FileEndOfFileInfo, &end, sizeof end)) return Failure("accorciare", path);
    return IoStatus::success();
}

}  // namespace brivana
