#pragma once
// The few file operations the record store needs, each a single step so that a test can
// stop a save after any one of them, or make any one of them fail. Paths are UTF-8.
// No operation follows a symbolic link or waits on a FIFO, and every file it creates can be
// read by the other players, whatever the creator's file mode mask.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace brivana {

// The outcome of one file operation; `why` says in Italian what went wrong.
struct IoStatus {
    // notAFile: something bears the name but it is not a regular file (a link, a folder, a FIFO).
    enum class Kind { ok, missing, failed, notAFile };
    Kind kind = Kind::ok;
    std::string why;

    bool ok() const { return kind == Kind::ok; }
    static IoStatus success() { return {}; }
    static IoStatus missingFile(std::string why) { return {Kind::missing, std::move(why)}; }
    static IoStatus failure(std::string why) { return {Kind::failed, std::move(why)}; }
    static IoStatus notAFile(std::string why) { return {Kind::notAFile, std::move(why)}; }
};

// Held while the lock is taken; releases it when destroyed.
class FileLock {
public:
    virtual ~FileLock() = default;
};

class FileAccess {
public:
    virtual ~FileAccess() = default;

    // Takes the exclusive lock of the folder dir, waiting at most `wait`. Deleting or
    // replacing any file of the folder cannot split it.
    virtual IoStatus lockFolder(const std::string& dir, std::chrono::milliseconds wait,
                                std::unique_ptr<FileLock>& lock) = 0;
    // The names of the entries of dir.
    virtual IoStatus list(const std::string& dir, std::vector<std::string>& names) = 0;
    // Creates an empty file when missing; an existing regular file is left as it is.
    virtual IoStatus ensureFile(const std::string& path) = 0;
    // Reads at most maxBytes from the start of a regular file. A link, or anything that is
    // not a regular file (a folder, a FIFO, a device), is refused.
    virtual IoStatus readHead(const std::string& path, std::size_t maxBytes, std::string& out) = 0;
    // Creates a file that must not exist yet and writes all of bytes into it.
    virtual IoStatus writeNew(const std::string& path, const std::string& bytes) = 0;
    // Flushes the content of a file to the disk.
    virtual IoStatus syncFile(const std::string& path) = 0;
    // Puts `from` in the place of `to` in one step, replacing it.
    virtual IoStatus replace(const std::string& from, const std::string& to) = 0;
    // Deletes a file; one that is already gone is no failure.
    virtual IoStatus remove(const std::string& path) = 0;
    // Flushes the folder's entries, so that renames inside it survive a power cut.
    virtual IoStatus syncDirectory(const std::string& dir) = 0;

    // The register's files, which grow a line at a time and are not for the players to read.
    // The size of a regular file and its last bytes, at most maxBytes of them.
    virtual IoStatus readTail(const std::string& path, std::size_t maxBytes, std::string& out,
                              std::uint64_t& size) = 0;
    // Writes bytes at the end of a regular file. A missing file is created readable only by the
    // folder's owner and the teachers (on Linux mode 0640, its group the folder's; on Windows the
    // access list this file access was given).
    virtual IoStatus appendPrivate(const std::string& path, const std::string& bytes) = 0;
    // Cuts a regular file to its first size bytes.
    virtual IoStatus truncate(const std::string& path, std::uint64_t size) = 0;
};

}  // namespace brivana
