#include "power_cut_files.h"

namespace brivana::testing {

namespace {

std::string NameOf(const std::string& path) { return path.substr(path.find_last_of("/\\") + 1); }

class ModelLock final : public FileLock {
public:
    explicit ModelLock(bool& locked) : locked_(locked) { locked_ = true; }
    ~ModelLock() override { locked_ = false; }

private:
    bool& locked_;
};

}  // namespace

PowerCutFiles::PowerCutFiles(const std::map<std::string, std::string>& files)
{
    for (const auto& [name, data] : files) {
        const int inode = nextInode_++;
        inodes_[inode] = {data, data};
        names_[name] = inode;
    }
    durableNames_ = names_;
}

PowerCutFiles PowerCutFiles::restarted(std::optional<unsigned> pendingKept) const
{
    PowerCutFiles next(*this);
    next.steps = next.failFromStep = next.stopAfterStep = next.stepsWithoutLock = 0;
    next.failSteps.clear();
    next.locked_ = next.dead_ = false;
    if (pendingKept) {
        next.names_ = durableNames_;
        for (std::size_t i = 0; i < pending_.size(); ++i)
            if (*pendingKept & (1u << i)) apply(pending_[i], next.names_);
        for (auto& [number, inode] : next.inodes_) {
            const bool appended = inode.data.size() > inode.synced.size() &&
                                  inode.data.compare(0, inode.synced.size(), inode.synced) == 0;
            if (tornTails && appended)
                inode.data.resize(inode.synced.size() + (inode.data.size() - inode.synced.size()) / 2);
            else
                inode.data = inode.synced;
            inode.synced = inode.data;
        }
    } else {
        // Killed, the program leaves its writes to the system, which puts them on the disk.
        for (auto& [number, inode] : next.inodes_) inode.synced = inode.data;
    }
    next.durableNames_ = next.names_;
    next.pending_.clear();
    return next;
}

std::optional<std::string> PowerCutFiles::content(const std::string& name) const
{
    const auto found = names_.find(name);
    if (found == names_.end()) return std::nullopt;
    return inodes_.at(found->second).data;
}

bool PowerCutFiles::step(IoStatus& failure, bool& halfWrite)
{
    halfWrite = false;
    if (dead_) {
        failure = IoStatus::failure("the program was killed");
        return false;
    }
    ++steps;
    if (!locked_) ++stepsWithoutLock;
    if (steps == stopAfterStep) dead_ = true;
    if (failSteps.count(steps) || (failFromStep > 0 && steps >= failFromStep)) {
        failure = IoStatus::failure("errore di lettura o scrittura sul disco");
        halfWrite = true;
        return false;
    }
    return true;
}

void PowerCutFiles::apply(const Change& change, std::map<std::string, int>& names) const
{
    if (!change.renamedFrom.empty()) names.erase(change.renamedFrom);
    if (change.inode) names[change.name] = *change.inode;
    else names.erase(change.name);
}

int PowerCutFiles::create(const std::string& name, std::string data)
{
    const int inode = nextInode_++;
    inodes_[inode] = {std::move(data), {}};
    names_[name] = inode;
    pending_.push_back({name, inode, {}});
    return inode;
}

IoStatus PowerCutFiles::lockFolder(const std::string&, std::chrono::milliseconds, std::unique_ptr<FileLock>& lock)
{
    IoStatus failure;
    bool half = false;
    // The lock is taken before the step is counted, so this step counts as locked.
    if (dead_) return IoStatus::failure("the program was killed");
    lock = std::make_unique<ModelLock>(locked_);
    if (!step(failure, half)) {
        lock.reset();
        return failure;
    }
    return IoStatus::success();
}

IoStatus PowerCutFiles::list(const std::string&, std::vector<std::string>& names)
{
    IoStatus failure;
    bool half = false;
    if (!step(failure, half)) return failure;
    names.clear();
    for (const auto& [name, inode] : names_) names.push_back(name);
    return IoStatus::success();
}

IoStatus PowerCutFiles::ensureFile(const std::string& path)
{
    IoStatus failure;
    bool half = false;
    if (!step(failure, half)) return failure;
    if (!names_.count(NameOf(path))) create(NameOf(path), {});
    return IoStatus::success();
}

IoStatus PowerCutFiles::readHead(const std::string& path, std::size_t maxBytes, std::string& out)
{
    out.clear();
    IoStatus failure;
    bool half = false;
    if (!step(failure, half)) return failure;
    const auto data = content(NameOf(path));
    if (!data) return IoStatus::missingFile("il file non esiste");
    out = data->substr(0, maxBytes);
    return IoStatus::success();
}

IoStatus PowerCutFiles::writeNew(const std::string& path, const std::string& bytes)
{
    IoStatus failure;
    bool half = false;
    const bool proceed = step(failure, half);
    if (!proceed && !half) return failure;
    if (names_.count(NameOf(path))) return IoStatus::failure("esiste già qualcosa con quel nome");
    create(NameOf(path), proceed ? bytes : bytes.substr(0, bytes.size() / 2));
    return proceed ? IoStatus::success() : failure;
}

IoStatus PowerCutFiles::syncFile(const std::string& path)
{
    IoStatus failure;
    bool half = false;
    if (!step(failure, half)) return failure;
    const auto found = names_.find(NameOf(path));
    if (found == names_.end()) return IoStatus::missingFile("il file non esiste");
    inodes_[found->second].synced = inodes_[found->second].data;
    return IoStatus::success();
}

IoStatus PowerCutFiles::replace(const std::string& from, const std::string& to)
{
    IoStatus failure;
    bool half = false;
    if (!step(failure, half)) return failure;
    const auto found = names_.find(NameOf(from));
    if (found == names_.end()) return IoStatus::missingFile("il file non esiste");
    const Change change{NameOf(to), found->second, NameOf(from)};
    apply(change, names_);
    pending_.push_back(change);
    return IoStatus::success();
}

IoStatus PowerCutFiles::remove(const std::string& path)
{
    IoStatus failure;
    bool half = false;
    if (!step(failure, half)) return failure;
    if (!names_.count(NameOf(path))) return IoStatus::success();
    const Change change{NameOf(path), std::nullopt, {}};
    apply(change, names_);
    pending_.push_back(change);
    return IoStatus::success();
}

IoStatus PowerCutFiles::syncDirectory(const std::string&)
{
    IoStatus failure;
    bool half = false;
    if (!step(failure, half)) return failure;
    durableNames_ = names_;
    pending_.clear();
    return IoStatus::success();
}

IoStatus PowerCutFiles::readTail(const std::string& path, std::size_t maxBytes, std::string& out,
                                 std::uint64_t& size)
{
    out.clear();
    size = 0;
    IoStatus failure;
    bool half = false;
    if (!step(failure, half)) return failure;
    const auto data = content(NameOf(path));
    if (!data) return IoStatus::missingFile("il file non esiste");
    size = data->size();
    out = data->substr(data->size() > maxBytes ? data->size() - maxBytes : 0);
    return IoStatus::success();
}

IoStatus PowerCutFiles::appendPrivate(const std::string& path, const std::string& bytes)
{
    IoStatus failure;
    bool half = false;
    const bool proceed = step(failure, half);
    if (!proceed && !half) return failure;
    const std::string written = proceed ? bytes : bytes.substr(0, bytes.size() / 2);
    const auto found = names_.find(NameOf(path));
    if (found == names_.end()) create(NameOf(path), written);
    else inodes_[found->second].data += written;
    return proceed ? IoStatus::success() : failure;
}

IoStatus PowerCutFiles::truncate(const std::string& path, std::uint64_t size)
{
    IoStatus failure;
    bool half = false;
    if (!step(failure, half)) return failure;
    const auto found = names_.find(NameOf(path));
    if (found == names_.end()) return IoStatus::missingFile("il file non esiste");
    std::string& data = inodes_[found->second].data;
    if (size < data.size()) data.resize(static_cast<std::size_t>(size));
    return IoStatus::success();
}

}  // namespace brivana::testing
