#include "system/system_file_access.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "system/descriptor_posix.h"
#include "system/error_text.h"

namespace brivana {

namespace {

// The lock is a byte-range lock on this file of the folder: the file servers carry those
// between computers (SMB and NFS), and a waiter waits in the lock itself, in its turn.
constexpr const char* kLockFileName = "brivana.lock";
// Only the keeper opens the lock file: a player who could read it could hold its lock.
constexpr mode_t kLockFileMode = 0600;
// Once the deadline has passed the timer rings this often, so that a ring that came just before
// the wait began cannot leave it waiting for good.
constexpr long kLateRingNanoseconds = 20'000'000;
// Record files can be read by every player, whatever the creator's file mode mask; only
// their owner writes them.
constexpr mode_t kFileMode = 0644;
// Never follow a link, never wait for the other end of a FIFO, never take a terminal.
constexpr int kSafeOpen = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

IoStatus Failure(const std::string& action, const std::string& path, int error = errno)
{
    return IoStatus::failure(FileErrorText(action, path, error));
}

IoStatus NotARegularFile(const std::string& action, const std::string& path)
{
    return IoStatus::notAFile("Non riesco a " + action + " " + path + ": non è un file normale.");
}

// Writes all of bytes into file and closes it: a close that fails may be a write that failed.
IoStatus WriteAllAndClose(Descriptor& file, const std::string& path, const std::string& bytes)
{
    if (const int error = WriteAll(file.get(), bytes)) return Failure("scrivere", path, error);
    if (::close(file.release()) != 0) return Failure("scrivere", path);
    return IoStatus::success();
}

bool IsRegular(int fd)
{
    struct stat info {};
    return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
}

// Opens an existing regular file as it is named, or says why not. A link fails with ELOOP.
IoStatus OpenRegular(const std::string& action, const std::string& path, Descriptor& file)
{
    file.reset(::open(path.c_str(), O_RDONLY | kSafeOpen));
    if (!file.valid()) {
        const int error = errno;
        if (error == ENOENT) return IoStatus::missingFile(FileErrorText(action, path, error));
        if (error == ELOOP) return NotARegularFile(action, path);
        return Failure(action, path, error);
    }
    if (!IsRegular(file.get())) return NotARegularFile(action, path);
    return IoStatus::success();
}

// The folder itself: with its trailing separators a link to a folder would be followed.
std::string WithoutTrailingSeparators(std::string dir)
{
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir;
}

int OpenFolder(const std::string& dir)
{
    return ::open(WithoutTrailingSeparators(dir).c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

class FolderLock final : public FileLock {
public:
    explicit FolderLock(int fd) : fd_(fd) {}
    ~FolderLock() override { ::close(fd_); }  // closing the description releases its lock

private:
    int fd_;
};

// Interrupts a wait of this thread at a deadline: a timer of the thread's own that rings with a
// signal whose handler does nothing, installed without SA_RESTART so that the wait returns EINTR.
class WaitDeadline {
public:
    explicit WaitDeadline(std::chrono::milliseconds wait)
    {
        struct sigaction action {};
        action.sa_handler = [](int) {};
        sigemptyset(&action.sa_mask);
        // Installed for good: a ring still on its way when the timer goes must not end the process.
        if (::sigaction(SIGRTMIN, &action, nullptr) != 0) return;
        sigevent event {};
        event.sigev_notify = SIGEV_THREAD_ID;
        event.sigev_signo = SIGRTMIN;
        event._sigev_un._tid = static_cast<pid_t>(::syscall(SYS_gettid));
        if (::timer_create(CLOCK_MONOTONIC, &event, &timer_) != 0) return;
        armed_ = true;
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(wait);
        itimerspec when {};
        when.it_value.tv_sec = seconds.count();
        when.it_value.tv_nsec = static_cast<long>(std::chrono::nanoseconds(wait - seconds).count());
        if (when.it_value.tv_sec == 0 && when.it_value.tv_nsec == 0) when.it_value.tv_nsec = 1;
        when.it_interval.tv_nsec = kLateRingNanoseconds;
        if (::timer_settime(timer_, 0, &when, nullptr) != 0) {
            ::timer_delete(timer_);
            armed_ = false;
        }
    }
    ~WaitDeadline() { if (armed_) ::timer_delete(timer_); }
    WaitDeadline(const WaitDeadline&) = delete;
    WaitDeadline& operator=(const WaitDeadline&) = delete;
    bool armed() const { return armed_; }

private:
    timer_t timer_ {};
    bool armed_ = false;
};

// Whether the lock file's name still leads to the file open as fd: a lock taken on a file that
// was deleted or replaced meanwhile is no lock of the folder.
bool StillTheLockFile(int folder, int fd)
{
    struct stat named {};
    struct stat held {};
    return ::fstatat(folder, kLockFileName, &named, AT_SYMLINK_NOFOLLOW) == 0 && ::fstat(fd, &held) == 0 &&
           named.st_dev == held.st_dev && named.st_ino == held.st_ino && held.st_nlink > 0;
}

}  // namespace

IoStatus SystemFileAccess::lockFolder(const std::string& dir, std::chrono::milliseconds wait,
                                      std::unique_ptr<FileLock>& lock)
{
    Descriptor folder(OpenFolder(dir));
    if (!folder.valid()) return Failure("riservare la cartella", dir);
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        Descriptor file(::openat(folder.get(), kLockFileName, O_RDWR | O_CREAT | kSafeOpen, kLockFileMode));
        if (!file.valid()) return Failure("riservare la cartella", dir);
        if (!IsRegular(file.get())) return NotARegularFile("riservare la cartella", dir + kLockFileName);
        // The whole file, exclusively, held by this open file description: not by the process, so
        // that another thread's or another library's close cannot drop it.
        struct flock range {};
        range.l_type = F_WRLCK;
        range.l_whence = SEEK_SET;
        int result = ::fcntl(file.get(), F_OFD_SETLK, &range);
        if (result != 0 && (errno == EAGAIN || errno == EACCES)) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                                   std::chrono::steady_clock::now());
            if (left <= std::chrono::milliseconds(0)) return Failure("riservare la cartella", dir, EWOULDBLOCK);
            const WaitDeadline ring(left);
            if (!ring.armed()) return Failure("riservare la cartella", dir);
            do {
                result = ::fcntl(file.get(), F_OFD_SETLKW, &range);
            } while (result != 0 && errno == EINTR && std::chrono::steady_clock::now() < deadline);
        }
        if (result != 0) {
            const int error = errno;
            return Failure("riservare la cartella", dir, error == EINTR || error == EAGAIN ? EWOULDBLOCK : error);
        }
        if (StillTheLockFile(folder.get(), file.get())) {
            lock = std::make_unique<FolderLock>(file.release());
            return IoStatus::success();
        }
        // The file was replaced while this game waited: the lock is the new file's.
    }
}

IoStatus SystemFileAccess::list(const std::string& dir, std::vector<std::string>& names)
{
    names.clear();
    Descriptor folder(OpenFolder(dir));
    if (!folder.valid()) return Failure("leggere la cartella", dir);
    DIR* entries = ::fdopendir(folder.get());
    if (!entries) return Failure("leggere la cartella", dir);
    folder.release();
    errno = 0;
    while (const dirent* entry = ::readdir(entries)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    const int error = errno;
    ::closedir(entries);
    return error == 0 ? IoStatus::success() : Failure("leggere la cartella", dir, error);
}

IoStatus SystemFileAccess::ensureFile(const std::string& path)
{
    // O_EXCL: a link or anything else already bearing the name is never followed or opened.
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CREAT | O_EXCL | kSafeOpen, kFileMode));
    if (file.valid()) {
        if (::fchmod(file.get(), kFileMode) != 0) return Failure("creare", path);
        return IoStatus::success();
    }
    if (errno != EEXIST) return Failure("creare", path);
    // What bears the name, looked at without opening it: a file this player may not read is
    // still a file, and reading it will say why.
    Descriptor existing(::open(path.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    if (!existing.valid()) return Failure("creare", path);
    if (!IsRegular(existing.get())) return NotARegularFile("creare", path);
    return IoStatus::success();
}

IoStatus SystemFileAccess::readHead(const std::string& path, std::size_t maxBytes, std::string& out)
{
    out.clear();
    Descriptor file(-1);
    if (IoStatus status = OpenRegular("leggere", path, file); !status.ok()) return status;
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

IoStatus SystemFileAccess::writeNew(const std::string& path, const std::string& bytes)
{
    Descriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | kSafeOpen, kFileMode));
    if (!file.valid()) return Failure("scrivere", path);
    if (::fchmod(file.get(), kFileMode) != 0) return Failure("scrivere", path);
    return WriteAllAndClose(file, path, bytes);
}

IoStatus SystemFileAccess::syncFile(const std::string& path)
{
    Descriptor file(-1);
    if (IoStatus status = OpenRegular("scrivere", path, file); !status.ok()) return status;
    if (::fsync(file.get()) != 0) return Failure("scrivere", path);
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
    Descriptor folder(OpenFolder(dir));
    if (!folder.valid()) return Failure("aggiornare la cartella", dir);
    // Some file systems cannot flush a folder and say so with EINVAL: nothing more to do there.
    if (::fsync(folder.get()) != 0 && errno != EINVAL) return Failure("aggiornare la cartella", dir);
    return IoStatus::success();
}

}  // namespace brivana

namespace brivana {

namespace {

// The register: its owner writes it, the folder's group (the teachers) reads it, nobody else.
constexpr mode_t kPrivateFileMode = 0640;

// Opens an existing regular file for writing as it is named; a link fails with ELOOP.
IoStatus OpenRegularForWriting(const std::string& path, int flags, Descriptor& file)
{
    file.reset(::open(path.c_str(), O_WRONLY | flags | kSafeOpen));
    if (!file.valid()) {
        const int error = errno;
        if (error == ENOENT) return IoStatus::missingFile(FileErrorText("scrivere", path, error));
        if (error == ELOOP) return NotARegularFile("scrivere", path);
        return Failure("scrivere", path, error);
    }
    if (!IsRegular(file.get())) return NotARegularFile("scrivere", path);
    return IoStatus::success();
}

}  // namespace

IoStatus SystemFileAccess::readTail(const std::string& path, std::size_t maxBytes, std::string& out,
                                    std::uint64_t& size)
{
    out.clear();
    size = 0;
    Descriptor file(-1);
    if (IoStatus status = OpenRegular("leggere", path, file); !status.ok()) return status;
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) return Failure("leggere", path);
    size = static_cast<std::uint64_t>(info.st_size);
    const std::uint64_t from = size > maxBytes ? size - maxBytes : 0;
    out.resize(static_cast<std::size_t>(size - from));
    std::size_t got = 0;
    while (got < out.size()) {
        const ssize_t n = ::pread(file.get(), out.data() + got, out.size() - got, static_cast<off_t>(from + got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Failure("leggere", path);
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    out.resize(got);
    return IoStatus::success();
}

IoStatus SystemFileAccess::appendPrivate(const std::string& path, const std::string& bytes)
{
    Descriptor file(::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | kSafeOpen, kPrivateFileMode));
    if (file.valid()) {
        if (::fchmod(file.get(), kPrivateFileMode) != 0) return Failure("scrivere", path);
    } else if (errno != EEXIST) {
        return Failure("scrivere", path);
    } else if (IoStatus status = OpenRegularForWriting(path, O_APPEND, file); !status.ok()) {
        return status;
    }
    return WriteAllAndClose(file, path, bytes);
}

IoStatus SystemFileAccess::truncate(const std::string& path, std::uint64_t size)
{
    Descriptor file(-1);
    if (IoStatus status = OpenRegularForWriting(path, 0, file); !status.ok()) return status;
    if (::ftruncate(file.get(), static_cast<off_t>(size)) != 0) return Failure("accorciare", path);
    return IoStatus::success();
}

}  // namespace brivana
