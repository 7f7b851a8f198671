#pragma once
// File access on the real disk: POSIX calls, or the Win32 API (its wide calls) on Windows.

#include "game/file_access.h"

namespace brivana {

class SystemFileAccess final : public FileAccess {
public:
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
};

}  // namespace brivana
