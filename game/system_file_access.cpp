#include "game/system_file_access.h"

#include <thread>

#include "game/system_error_text.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace brivana {

namespace {

constexpr auto kLockRetry = std::chrono::milliseconds(50);

IoStatus NotARegularFile(const std::string& path)
{
    return IoStatus::failure("Non riesco a leggere " + PathForDisplay(path) + ": non è un file normale.");
}

}  // namespace

#ifdef _WIN32

namespace {

IoStatus Failure(const std::string& action, const std::string& path)
{
    return IoStatus::failure(FileErrorText(action, path, static_cast<int>(GetLastError())));
}

bool IsMissingError(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() { if (valid()) CloseHandle(handle_); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

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

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace

IoStatus SystemFileAccess::ensureFile(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return IoStatus::failure("Non riesco a creare " + PathForDisplay(path) +
                                 ": è una cartella, non un file.");
    Handle file(CreateFileA(path.c_str(), FILE_APPEND_DATA, kShareAll, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return Failure("creare", path);
    if (GetFileType(file.get()) != FILE_TYPE_DISK) return NotARegularFile(path);
    return IoStatus::success();
}

IoStatus SystemFileAccess::readHead(const std::string& path, std::size_t maxBytes, std::string& out)
{
    out.clear();
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (IsMissingError(error))
            return IoStatus::missingFile(FileErrorText("leggere", path, static_cast<int>(error)));
        return IoStatus::failure(FileErrorText("leggere", path, static_cast<int>(error)));
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return NotARegularFile(path);
    Handle file(CreateFileA(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return Failure("leggere", path);
    if (GetFileType(file.get()) != FILE_TYPE_DISK) return NotARegularFile(path);
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

IoStatus SystemFileAccess::writeDurably(const std::string& path, const std::string& bytes)
{
    Handle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr));
    if (!file.valid()) return Failure("scrivere", path);
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written,
                       nullptr))
            return Failure("scrivere", path);
        if (written == 0) return IoStatus::failure(FileErrorText("scrivere", path, ERROR_HANDLE_DISK_FULL));
        done += written;
    }
    if (!FlushFileBuffers(file.get())) return Failure("scrivere", path);
    return IoStatus::success();
}

IoStatus SystemFileAccess::replace(const std::string& from, const std::string& to)
{
    if (!MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return Failure("sostituire", to);
    return IoStatus::success();
}

IoStatus SystemFileAccess::remove(const std::string& path)
{
    if (!DeleteFileA(path.c_str()) && !IsMissingError(GetLastError())) return Failure("cancellare", path);
    return IoStatus::success();
}

IoStatus SystemFileAccess::syncDirectory(const std::string&)
{
    // MOVEFILE_WRITE_THROUGH has already made each replacement durable.
    return IoStatus::success();
}

IoStatus SystemFileAccess::lockExclusive(const std::string& path, std::chrono::milliseconds wait,
                                         std::unique_ptr<FileLock>& lock)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Failure("riservare", path);
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        OVERLAPPED whole{};
        if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole)) {
            lock = std::make_unique<WindowsLock>(file);
            return IoStatus::success();
        }
        const DWORD error = GetLastError();
        if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING) {
            CloseHandle(file);
            return IoStatus::failure(FileErrorText("riservare", path, static_cast<int>(error)));
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            CloseHandle(file);
            return IoStatus::failure(FileErrorText("riservare", path, ERROR_TIMEOUT));
        }
        std::this_thread::sleep_for(kLockRetry);
    }
}

#else  // POSIX

namespace {

IoStatus Failure(const std::string& action, const std::string& path, int error = errno)
{
    return IoStatus::failure(FileErrorText(action, path, error));
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() { if (fd_ >= 0) ::close(fd_); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    bool valid() const { return fd_ >= 0; }
    int get() const { return fd_; }
    int release() { const int fd = fd_; fd_ = -1; return fd; }

private:
    int fd_;
};

bool IsRegular(int fd)
{
    struct stat info {};
    return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
}

class PosixLock final : public FileLock {
public:
    explicit PosixLock(int fd) : fd_(fd) {}
    ~PosixLock() override
    {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
    }

private:
    int fd_;
};

// Record files are shared by the players of a group; the directory's mode decides who.
constexpr mode_t kFileMode = 0664;

}  // namespace

IoStatus SystemFileAccess::ensureFile(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        return S_ISREG(info.st_mode) ? IoStatus::success() : NotARegularFile(path);
    }
    // O_NONBLOCK: should a FIFO appear meanwhile, opening it must not wait for a reader.
    Descriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NONBLOCK | O_NOCTTY,
                           kFileMode));
    if (!file.valid()) return Failure("creare", path);
    return IsRegular(file.get()) ? IoStatus::success() : NotARegularFile(path);
}

IoStatus SystemFileAccess::readHead(const std::string& path, std::size_t maxBytes, std::string& out)
{
    out.clear();
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        const int error = errno;
        if (error == ENOENT) return IoStatus::missingFile(FileErrorText("leggere", path, error));
        return Failure("leggere", path, error);
    }
    if (!S_ISREG(info.st_mode)) return NotARegularFile(path);
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!file.valid()) return Failure("leggere", path);
    if (!IsRegular(file.get())) return NotARegularFile(path);

    out.resize(maxBytes);
    std::size_t got = 0;
    while (got < maxBytes) {
        const ssize_t n = ::read(file.get(), out.data() + got, maxBytes - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            out.clear();
            return Failure("leggere", path);
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    out.resize(got);
    return IoStatus::success();
}

IoStatus SystemFileAccess::writeDurably(const std::string& path, const std::string& bytes)
{
    Descriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, kFileMode));
    if (!file.valid()) return Failure("scrivere", path);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(file.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Failure("scrivere", path);
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(file.get()) != 0) return Failure("scrivere", path);
    if (::close(file.release()) != 0) return Failure("scrivere", path);
    return IoStatus::success();
}

IoStatus SystemFileAccess::replace(const std::string& from, const std::string& to)
{
    if (::rename(from.c_str(), to.c_str()) != 0) return Failure("sostituire", to);
    return IoStatus::success();
}

IoStatus SystemFileAccess::remove(const std::string& path)
{
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) return Failure("cancellare", path);
    return IoStatus::success();
}

IoStatus SystemFileAccess::syncDirectory(const std::string& dir)
{
    Descriptor directory(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!directory.valid()) return Failure("aggiornare", dir);
    // Some file systems cannot flush a directory and say so with EINVAL: nothing more to do there.
    if (::fsync(directory.get()) != 0 && errno != EINVAL) return Failure("aggiornare", dir);
    return IoStatus::success();
}

IoStatus SystemFileAccess::lockExclusive(const std::string& path, std::chrono::milliseconds wait,
                                         std::unique_ptr<FileLock>& lock)
{
    // Read-only is enough for flock, and lets every player of the group open a lock file
    // that another one created.
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, kFileMode));
    if (!file.valid()) return Failure("riservare", path);
    if (!IsRegular(file.get())) return NotARegularFile(path);
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::flock(file.get(), LOCK_EX | LOCK_NB) == 0) {
            lock = std::make_unique<PosixLock>(file.release());
            return IoStatus::success();
        }
        const int error = errno;
        if (error != EWOULDBLOCK && error != EINTR) return Failure("riservare", path, error);
        if (std::chrono::steady_clock::now() >= deadline) return Failure("riservare", path, EWOULDBLOCK);
        std::this_thread::sleep_for(kLockRetry);
    }
}

#endif

}  // namespace brivana
