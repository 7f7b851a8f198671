#pragma once
// The few file operations the record store needs, each a single step so that a test can
// make any one of them fail. Paths are the platform's narrow strings.

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

namespace brivana {

// The outcome of one file operation; `why` says in Italian what went wrong.
struct IoStatus {
    enum class Kind { ok, missing, failed };
    Kind kind = Kind::ok;
    std::string why;

    bool ok() const { return kind == Kind::ok; }
    static IoStatus success() { return {}; }
    static IoStatus missingFile(std::string why) { return {Kind::missing, std::move(why)}; }
    static IoStatus failure(std::string why) { return {Kind::failed, std::move(why)}; }
};

// Held while the lock is taken; releases it when destroyed.
class FileLock {
public:
    virtual ~FileLock() = default;
};

class FileAccess {
public:
    virtual ~FileAccess() = default;

    // Creates an empty file when missing; an existing file is left as it is.
    virtual IoStatus ensureFile(const std::string& path) = 0;
    // Reads at most maxBytes from the start of a regular file. Anything that is not a regular
    // file (a directory, a FIFO, a device) is refused without being opened.
    virtual IoStatus readHead(const std::string& path, std::size_t maxBytes, std::string& out) = 0;
    // Creates or empties the file, writes all of bytes and flushes them to the disk.
    virtual IoStatus writeDurably(const std::string& path, const std::string& bytes) = 0;
    // Puts `from` in the place of `to` in one step, replacing it.
    virtual IoStatus replace(const std::string& from, const std::string& to) = 0;
    virtual IoStatus remove(const std::string& path) = 0;
    // Flushes the directory's entries, so that renames inside it survive a power cut.
    virtual IoStatus syncDirectory(const std::string& dir) = 0;
    // Takes an exclusive lock on the file at path (created when missing), waiting at most `wait`.
    virtual IoStatus lockExclusive(const std::string& path, std::chrono::milliseconds wait,
                                   std::unique_ptr<FileLock>& lock) = 0;
};

}  // namespace brivana
