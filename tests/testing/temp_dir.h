#pragma once
// A fresh record folder under the system's temporary directory, removed with everything in it,
// and plain reads and writes of its files.

#include <filesystem>
#include <string>

namespace brivana::testing {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The directory as the game addresses it: with a trailing separator.
    std::string recordDir() const;
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// The whole content of a file, or "<missing>".
std::string ReadBytes(const std::filesystem::path& path);
// Throws when the file cannot be written.
void WriteBytes(const std::filesystem::path& path, const std::string& bytes);

}  // namespace brivana::testing
