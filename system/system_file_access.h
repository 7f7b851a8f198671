#pragma once
// File access on the real disk: POSIX calls, or the Win32 API (its wide calls) on Windows.

#include <string>
#include <utility>

#include "game/file_access.h"

namespace brivana {

class SystemFileAccess final : public FileAccess {
public:
    SystemFileAccess() = default;
    // On Windows, the owner and access list, as SDDL, of the files appendPrivate creates; without
    // one they inherit the folder's. Elsewhere unused.
    explicit SystemFileAccess(std::wstring privateFileSddl) : privateFileSddl_(std::move(privateFileSddl)) {}

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
    std::wstring privateFileSddl_;
};

}  // namespace brivana
