#pragma once
// Scripted stand-ins for the platform services, and a temporary record directory.

#include <deque>
#include <filesystem>
#include <string>

#include "game/date_time_source.h"
#include "game/file_access.h"
#include "game/random_source.h"
#include "game/record_place.h"
#include "forwarding_file_access.h"

namespace brivana::testing {

// Returns the scripted values in order; running out fails the test.
class ScriptedRandom final : public RandomSource {
public:
    double next() override;
    void reseedFromTime() override;

    std::deque<double> values;
    std::string log;  // "R" for a reseed, "d" for a draw, in order
};

class FixedDateTime final : public DateTimeSource {
public:
    std::string nowText() override { return "08/12/2026 10:30:00"; }
};

// A fresh directory under the system's temporary directory, removed with everything in it.
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

class FixedRecordPlace final : public RecordPlace {
public:
    explicit FixedRecordPlace(std::string dir, std::string notice = {})
        : dir_(std::move(dir)), notice_(std::move(notice)) {}
    RecordLocation locate() override { return {dir_, notice_}; }

private:
    std::string dir_;
    std::string notice_;
};

// The real file access, except that a chosen step can be made to fail.
class FaultyFileAccess final : public ForwardingFileAccess {
public:
    // The n-th call (from 1) of replace fails; 0 never.
    int failReplaceCall = 0;
    // writeNew writes half of its bytes, then reports a full disk.
    bool diskFull = false;
    int replaceCalls = 0;

    IoStatus writeNew(const std::string& path, const std::string& bytes) override;
    IoStatus replace(const std::string& from, const std::string& to) override;
};

// The whole content of a file, or "<missing>".
std::string ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::string& bytes);

}  // namespace brivana::testing
