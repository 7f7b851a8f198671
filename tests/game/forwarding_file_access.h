#pragma once
// The real file access, every call passed straight through: a base for test doubles that
// change one or two steps and leave the rest real.

#include "game/system_file_access.h"

namespace brivana::testing {

class ForwardingFileAccess : public FileAccess {
public:
    IoStatus ensureFile(const std::string& path) override { return real_.ensureFile(path); }
    IoStatus readHead(const std::string& path, std::size_t maxBytes, std::string& out) override
    {
        return real_.readHead(path, maxBytes, out);
    }
    IoStatus writeDurably(const std::string& path, const std::string& bytes) override
    {
        return real_.writeDurably(path, bytes);
    }
    IoStatus replace(const std::string& from, const std::string& to) override { return real_.replace(from, to); }
    IoStatus remove(const std::string& path) override { return real_.remove(path); }
    IoStatus syncDirectory(const std::string& dir) override { return real_.syncDirectory(dir); }
    IoStatus lockExclusive(const std::string& path, std::chrono::milliseconds wait,
                           std::unique_ptr<FileLock>& lock) override
    {
        return real_.lockExclusive(path, wait, lock);
    }

protected:
    SystemFileAccess real_;
};

}  // namespace brivana::testing
