#pragma once
// The real file access, every call passed straight through: a base for test doubles that
// change one or two steps and leave the rest real.

#include "system/system_file_access.h"

namespace brivana::testing {

class ForwardingFileAccess : public FileAccess {
public:
    IoStatus lockFolder(const std::string& dir, std::chrono::milliseconds wait,
                        std::unique_ptr<FileLock>& lock) override
    {
        return real_.lockFolder(dir, wait, lock);
    }
    IoStatus list(const std::string& dir, std::vector<std::string>& names) override { return real_.list(dir, names); }
    IoStatus ensureFile(const std::string& path) override { return real_.ensureFile(path); }
    IoStatus readHead(const std::string& path, std::size_t maxBytes, std::string& out) override
    {
        return real_.readHead(path, maxBytes, out);
    }
    IoStatus writeNew(const std::string& path, const std::string& bytes) override
    {
        return real_.writeNew(path, bytes);
    }
    IoStatus syncFile(const std::string& path) override { return real_.syncFile(path); }
    IoStatus replace(const std::string& from, const std::string& to) override { return real_.replace(from, to); }
    IoStatus remove(const std::string& path) override { return real_.remove(path); }
    IoStatus syncDirectory(const std::string& dir) override { return real_.syncDirectory(dir); }
    IoStatus readTail(const std::string& path, std::size_t maxBytes, std::string& out, std::uint64_t& size) override
    {
        return real_.readTail(path, maxBytes, out, size);
    }
    IoStatus appendPrivate(const std::string& path, const std::string& bytes) override
    {
        return real_.appendPrivate(path, bytes);
    }
    IoStatus truncate(const std::string& path, std::uint64_t size) override { return real_.truncate(path, size); }

protected:
    SystemFileAccess real_;
};

}  // namespace brivana::testing
