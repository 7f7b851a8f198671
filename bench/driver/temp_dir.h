#pragma once
// A fresh directory under the system's temporary directory, removed with everything in it
// when this object goes: the record directory of one run of the game.

#include <string>

namespace brivana::bench {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Ends in '/'.
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace brivana::bench
