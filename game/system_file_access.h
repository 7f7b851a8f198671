#pragma once
// File access on the real disk: POSIX calls, or the Win32 API on Windows.

#include "game/file_access.h"

namespace brivana {

class SystemFileAccess final : public FileAccess {
public:
    IoStatus ensureFile(const std::string& path) override;
    IoStatus readHead(const std::string& path, std::size_t maxBytes, std::string& out) override;
    IoStatus writeDurably(const std::string& path, const std::string& bytes) override;
    IoStatus replace(const std::string& from, const std::string& to) override;
    IoStatus remove(const std::string& path) override;
    IoStatus syncDirectory(const std::string& dir) override;
    IoStatus lockExclusive(const std::string& path, std::chrono::milliseconds wait,
                           std::unique_ptr<FileLock>& lock) override;
};

}  // namespace brivana
