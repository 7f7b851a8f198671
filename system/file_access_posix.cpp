#include "system/system_file_access.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "system/error_text.h"

namespace brivana {

namespace {

constexpr auto kLockRetry = std::chrono::milliseconds(50);
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

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() { if (fd_ >= 0) ::close(fd_); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    bool valid() const { return fd_ >= 0; }
    int get() const { return fd_; }
    int release() { const int fd = fd_; fd_ = -1; return fd; }
    void reset(int fd)
    {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_;
};

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
    ~FolderLock() override { ::close(fd_); }  // closing releases the lock

private:
    int fd_;
};

}  // namespace

IoStatus SystemFileAccess::lockFolder(const std::string& dir, std::chrono::milliseconds wait,
                                      std::unique_ptr<FileLock>& lock)
{
    // The folder itself is locked: no file in it can be deleted or replaced to split the lock.
    Descriptor folder(OpenFolder(dir));
    if (!folder.valid()) return Failure("riservare la cartella", dir);
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::flock(folder.get(), LOCK_EX | LOCK_NB) == 0) {
            lock = std::make_unique<FolderLock>(folder.release());
            return IoStatus::success();
        }
        const int error = errno;
        if (error != EWOULDBLOCK && error != EINTR) return Failure("riservare la cartella", dir, error);
        if (std::chrono::steady_clock::now() >= deadline) return Failure("riservare la cartella", dir, EWOULDBLOCK);
        std::this_thread::sleep_for(kLockRetry);
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
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(file.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Failure("scrivere", path);
        if (n == 0) return Failure("scrivere", path, ENOSPC);
        done += static_cast<std::size_t>(n);
    }
    if (::close(file.release()) != 0) return Failure("scrivere", path);
    return IoStatus::success();
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
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(file.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Failure("scrivere", path);
        if (n == 0) return Failure("scrivere", path, ENOSPC);
        done += static_cast<std::size_t>(n);
    }
    if (::close(file.release()) != 0) return Failure("scrivere", path);
    return IoStatus::success();
}

IoStatus SystemFileAccess::truncate(const std::string& path, std::uint64_t size)
{
    Descriptor file(-1);
    if (IoStatus status = OpenRegularForWriting(path, 0, file); !status.ok()) return status;
    if (::ftruncate(file.get(), static_cast<off_t>(size)) != 0) return Failure("accorciare", path);
    return IoStatus::success();
}

}  // namespace brivana
