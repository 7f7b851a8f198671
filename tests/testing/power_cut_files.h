#pragma once
// A record folder kept in memory the way a disk keeps one through a crash. A file's content
// survives a power cut once the file is synced; a change to the folder's names (a file
// created, renamed or removed) once the folder is synced, and before that any of the
// pending changes may or may not have reached the disk. The double can stop the program
// after any step, as a kill would, or make steps fail; it counts the steps taken without
// the folder's lock.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "game/file_access.h"

namespace brivana::testing {

class PowerCutFiles final : public FileAccess {
public:
    // A folder holding the given files, all of them on the disk.
    explicit PowerCutFiles(const std::map<std::string, std::string>& files);

    int steps = 0;             // every call is one step
    std::set<int> failSteps;   // these steps fail; a write writes half of its bytes first
    int failFromStep = 0;      // this step and every later one fail, as on a disk gone bad
    int stopAfterStep = 0;     // after this step the program is dead: nothing more happens
    int stepsWithoutLock = 0;
    // After a power cut, bytes appended since the last sync are not simply lost: the first half
    // of them is on the disk, as a block written before the power went.
    bool tornTails = false;

    // The folder as the next run of the program finds it after this one was killed, or, given
    // which pending name changes reached the disk (bit i for change i), after a power cut.
    PowerCutFiles restarted(std::optional<unsigned> pendingKept = std::nullopt) const;
    std::size_t pendingChanges() const { return pending_.size(); }
    // A file's content as the program would read it now; nothing when it is missing.
    std::optional<std::string> content(const std::string& name) const;

    IoStatus lockFolder(const std::string& dir, std::chrono::milliseconds wait,
                        std::unique_ptr<FileLock>& lock) override;
    IoStatus list(const std::string& dir, std::vector<std::string>& names) override;
    IoStatus ensureFile(const std::string& path) override;
    IoStatus readHead(const std::string& path, std::size_t maxBytes, std::string& out) override;
    IoStatus writeNew(const std::string& path, const std::string& bytes) override;
    IoStatus syncFile(const std::string& path) override;
    IoStatus replace(const std::string& from, const std::string& to) override;
    IoStatus remove(const std::string& path) override;
    IoStatus syncDirectory(const std::string& dir) override;
    IoStatus readTail(const std::string& path, std::size_t maxBytes, std::string& out, std::uint64_t& size) override;
    IoStatus appendPrivate(const std::string& path, const std::string& bytes) override;
    IoStatus truncate(const std::string& path, std::uint64_t size) override;

private:
    struct Inode {
        std::string data;
        std::string synced;
    };
    struct Change {
        std::string name;           // the name that comes to point at inode, or goes
        std::optional<int> inode;   // nothing for a removal
        std::string renamedFrom;    // empty unless a rename
    };

    // Starts a step: false when it is not to happen or is to fail.
    bool step(IoStatus& failure, bool& halfWrite);
    void apply(const Change& change, std::map<std::string, int>& names) const;
    int create(const std::string& name, std::string data);

    std::map<int, Inode> inodes_;
    std::map<std::string, int> names_;
    std::map<std::string, int> durableNames_;
    std::vector<Change> pending_;
    int nextInode_ = 1;
    bool locked_ = false;
    bool dead_ = false;
};

}  // namespace brivana::testing
