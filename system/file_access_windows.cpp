#include "system/system_file_access.h"

#include <windows.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <utility>

#include "system/error_text.h"
#include "system/owned_handle_windows.h"
#include "system/record_security_windows.h"
#include "system/wide_text_windows.h"

namespace brivana {

namespace {

// Only for a lock file held open by someone who shares it with nobody: the lock itself is waited
// for in the lock, in the order the requests came.
constexpr auto kOpenRetry = std::chrono::milliseconds(50);
// A lock asked for without waiting still needs its file opened: this long at most.
constexpr auto kOpenWait = std::chrono::seconds(1);
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

// A plain file on a disk: not a folder, not a link, not a pipe or a device.
bool IsRegular(HANDLE handle)
{
    BY_HANDLE_FILE_INFORMATION info{};
    return GetFileType(handle) == FILE_TYPE_DISK && GetFileInformationByHandle(handle, &info) &&
           !(info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
}

// Opens an existing regular file as it is named, or says why not.
IoStatus OpenRegular(const std::string& action, const std::string& path, DWORD access, OwnedKernel& file)
{
    file = Kernel(CreateFileW(Wide(path).c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | kOpenAsNamed, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        if (IsMissingError(error)) return IoStatus::missingFile(FileErrorText(action, path, static_cast<int>(error)));
        return Failure(action, path, error);
    }
    if (!IsRegular(file.get())) return NotARegularFile(action, path);
    return IoStatus::success();
}

// Writes all of bytes at the file's position; a write that takes nothing is a full disk.
IoStatus WriteAll(HANDLE file, const std::string& path, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written, nullptr))
            return Failure("scrivere", path);
        if (written == 0) return Failure("scrivere", path, ERROR_HANDLE_DISK_FULL);
        done += written;
    }
    return IoStatus::success();
}

// Reads from file into out, at most out.size() bytes, and keeps what was read; nothing when
// the read fails.
IoStatus ReadInto(HANDLE file, const std::string& path, std::string& out)
{
    std::size_t got = 0;
    while (got < out.size()) {
        DWORD read = 0;
        if (!ReadFile(file, out.data() + got, static_cast<DWORD>(out.size() - got), &read, nullptr)) {
            out.clear();
            return Failure("leggere", path);
        }
        if (read == 0) break;
        got += read;
    }
    out.resize(got);
    return IoStatus::success();
}

class WindowsLock final : public FileLock {
public:
    explicit WindowsLock(OwnedKernel file) : file_(std::move(file)) {}
    ~WindowsLock() override
    {
        OVERLAPPED whole{};
        UnlockFileEx(file_.get(), 0, 1, 0, &whole);
    }

private:
    OwnedKernel file_;
};

// One wait for the folder's lock, run on a thread of its own: opening a file on a server that
// hangs, or a lock request the server keeps pending, cannot always be cancelled, and the game
// must hear at its deadline that the record is busy. Whichever side is last frees it: the
// thread gives back a lock it got for a caller who had already gone.
struct LockWait {
    enum class State { waiting, granted, failed, notAFile, abandoned };

    LockWait(std::wstring lockPath, bool once) : path(std::move(lockPath)), tryOnce(once) {}

    // Ends the wait with its outcome, unless the caller has gone: then a lock taken is let go.
    void settle(State outcome, DWORD why, OwnedKernel taken)
    {
        const std::lock_guard hold(mutex);
        if (state == State::abandoned) {
            if (outcome == State::granted) WindowsLock{std::move(taken)};
            return;
        }
        state = outcome;
        error = why;
        file = std::move(taken);
        settled.notify_all();
    }
    bool abandoned()
    {
        const std::lock_guard hold(mutex);
        return state == State::abandoned;
    }

    const std::wstring path;
    const bool tryOnce;  // fails at once when the lock is taken
    std::mutex mutex;
    std::condition_variable settled;
    State state = State::waiting;
    DWORD error = ERROR_SUCCESS;
    OwnedKernel file;
};

DWORD WINAPI WaitForLock(void* parameter)
{
    const std::unique_ptr<std::shared_ptr<LockWait>> owned(static_cast<std::shared_ptr<LockWait>*>(parameter));
    LockWait& wait = **owned;
    OwnedKernel file;
    for (;;) {
        // No FILE_SHARE_DELETE: see kLockFileName.
        file = Kernel(CreateFileW(wait.path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | kOpenAsNamed, nullptr));
        if (file) break;
        const DWORD error = GetLastError();
        if (error != ERROR_SHARING_VIOLATION || wait.abandoned()) {
            wait.settle(LockWait::State::failed, error, std::move(file));
            return 0;
        }
        Sleep(static_cast<DWORD>(kOpenRetry.count()));
    }
    if (!IsRegular(file.get())) {
        wait.settle(LockWait::State::notAFile, ERROR_SUCCESS, OwnedKernel());
        return 0;
    }
    // Waits in the lock itself: the system, or the file server for a folder on a share, grants
    // it to the waiters in turn.
    OVERLAPPED whole{};
    const DWORD flags = LOCKFILE_EXCLUSIVE_LOCK | (wait.tryOnce ? LOCKFILE_FAIL_IMMEDIATELY : 0);
    if (!LockFileEx(file.get(), flags, 0, 1, 0, &whole)) {
        wait.settle(LockWait::State::failed, GetLastError(), OwnedKernel());
        return 0;
    }
    wait.settle(LockWait::State::granted, ERROR_SUCCESS, std::move(file));
    return 0;
}

}  // namespace

IoStatus SystemFileAccess::lockFolder(const std::string& dir, std::chrono::milliseconds wait,
                                      std::unique_ptr<FileLock>& lock)
{
    const std::string path = dir + "brivana.lock";
    const bool tryOnce = wait.count() <= 0;
    auto waiting = std::make_shared<LockWait>(Wide(dir) + kLockFileName, tryOnce);
    auto forThread = std::make_unique<std::shared_ptr<LockWait>>(waiting);
    const HANDLE started = CreateThread(nullptr, 0, WaitForLock, forThread.get(), 0, nullptr);
    if (!started) return Failure("riservare", path);
    const OwnedKernel thread(started);
    forThread.release();  // the thread owns it now

    std::unique_lock hold(waiting->mutex);
    const auto deadline = tryOnce ? std::chrono::duration_cast<std::chrono::milliseconds>(kOpenWait) : wait;
    waiting->settled.wait_for(hold, deadline, [&waiting] { return waiting->state != LockWait::State::waiting; });
    switch (waiting->state) {
    case LockWait::State::granted:
        lock = std::make_unique<WindowsLock>(std::move(waiting->file));
        return IoStatus::success();
    case LockWait::State::notAFile:
        return NotARegularFile("riservare", path);
    case LockWait::State::failed:
        return Failure("riservare", path, waiting->error);
    default:
        // The thread lets go of whatever it gets from now on; a wait the system can cancel ends now.
        waiting->state = LockWait::State::abandoned;
        CancelSynchronousIo(thread.get());
        return Failure("riservare", path, ERROR_TIMEOUT);
    }
}

IoStatus SystemFileAccess::list(const std::string& dir, std::vector<std::string>& names)
{
    names.clear();
    WIN32_FIND_DATAW found{};
    const OwnedSearch search = Search(FindFirstFileW((Wide(dir) + L"*").c_str(), &found));
    if (!search) return Failure("leggere la cartella", dir);
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(Utf8(name));
    } while (FindNextFileW(search.get(), &found));
    const DWORD error = GetLastError();
    return error == ERROR_NO_MORE_FILES ? IoStatus::success() : Failure("leggere la cartella", dir, error);
}

IoStatus SystemFileAccess::ensureFile(const std::string& path)
{
    // CREATE_NEW: a link or anything else already bearing the name is never followed.
    const OwnedKernel file = Kernel(CreateFileW(Wide(path).c_str(), GENERIC_READ, kShareAll, nullptr, CREATE_NEW,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) return IoStatus::success();
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return Failure("creare", path, error);
    const OwnedKernel existing = Kernel(CreateFileW(Wide(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                                    OPEN_EXISTING, kOpenAsNamed, nullptr));
    // A file there that this player may not look at is still a file: reading it says why.
    if (!existing) return GetLastError() == ERROR_ACCESS_DENIED ? IoStatus::success() : Failure("creare", path);
    if (!IsRegular(existing.get())) return NotARegularFile("creare", path);
    return IoStatus::success();
}

IoStatus SystemFileAccess::readHead(const std::string& path, std::size_t maxBytes, std::string& out)
{
    out.clear();
    OwnedKernel file;
    if (IoStatus status = OpenRegular("leggere", path, GENERIC_READ, file); !status.ok()) return status;
    out.resize(maxBytes);
    return ReadInto(file.get(), path, out);
}

IoStatus SystemFileAccess::writeNew(const std::string& path, const std::string& bytes)
{
    const OwnedKernel file = Kernel(CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return Failure("scrivere", path);
    if (IoStatus status = WriteAll(file.get(), path, bytes); !status.ok()) return status;
    // Windows reports a failed write at WriteFile, or at the flush that follows (syncFile), never
    // at closing: the handle is let go with the rest.
    return IoStatus::success();
}

IoStatus SystemFileAccess::syncFile(const std::string& path)
{
    OwnedKernel file;
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
    OwnedKernel file;
    if (IoStatus status = OpenRegular("leggere", path, GENERIC_READ, file); !status.ok()) return status;
    LARGE_INTEGER length{};
    if (!GetFileSizeEx(file.get(), &length)) return Failure("leggere", path);
    size = static_cast<std::uint64_t>(length.QuadPart);
    const std::uint64_t from = size > maxBytes ? size - maxBytes : 0;
    LARGE_INTEGER start{};
    start.QuadPart = static_cast<LONGLONG>(from);
    if (!SetFilePointerEx(file.get(), start, nullptr, FILE_BEGIN)) return Failure("leggere", path);
    out.resize(static_cast<std::size_t>(size - from));
    return ReadInto(file.get(), path, out);
}

IoStatus SystemFileAccess::appendPrivate(const std::string& path, const std::string& bytes)
{
    // A new file gets the register's own access list; without one, the folder's.
    SecurityAttributes security(privateFileSddl_);
    if (!privateFileSddl_.empty() && !security.get()) return Failure("creare", path, ERROR_INVALID_SECURITY_DESCR);
    const OwnedKernel file = Kernel(CreateFileW(Wide(path).c_str(), FILE_APPEND_DATA | SYNCHRONIZE, FILE_SHARE_READ,
                                                security.get(), OPEN_ALWAYS,
                                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file) return Failure("scrivere", path);
    if (!IsRegular(file.get())) return NotARegularFile("scrivere", path);
    if (IoStatus status = WriteAll(file.get(), path, bytes); !status.ok()) return status;
    // The line is on the disk (or the server's) before the game hears it was written.
    if (!FlushFileBuffers(file.get())) return Failure("scrivere", path);
    return IoStatus::success();
}

IoStatus SystemFileAccess::truncate(const std::string& path, std::uint64_t size)
{
    OwnedKernel file;
    if (IoStatus status = OpenRegular("accorciare", path, GENERIC_WRITE, file); !status.ok()) return status;
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    if (!SetFileInformationByHandle(file.get(), FileEndOfFileInfo, &end, sizeof end)) return Failure("accorciare", path);
    return IoStatus::success();
}

}  // namespace brivana
