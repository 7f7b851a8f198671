#pragma once
// Stand-ins for the platform services: a fixed clock, a fixed record folder and the real file
// access with a chosen step failing; with the scripted random source and the temporary folder.

#include <string>

#include "forwarding_file_access.h"
#include "game/date_time_source.h"
#include "game/record_place.h"
#include "game/register_store.h"
#include "scripted_random.h"
#include "temp_dir.h"

namespace brivana::testing {

inline const std::string kNow = "08/12/2026 09:41:07";

class FixedDateTime final : public DateTimeSource {
public:
    std::string nowText() override { return kNow; }
};

inline const std::string kRegisterNow = "2026-12-08 09:41:07";

class FixedRegisterStamps final : public RegisterStamps {
public:
    std::string now() override { return kRegisterNow; }
    std::string computerName() override { return "AULA-3"; }
};

class FixedRecordPlace final : public RecordPlace {
public:
    explicit FixedRecordPlace(std::string dir, std::string notice = {}, bool classRecord = false)
        : dir_(std::move(dir)), notice_(std::move(notice)), classRecord_(classRecord) {}
    RecordLocation locate() override { return {dir_, notice_, classRecord_}; }

private:
    std::string dir_;
    std::string notice_;
    bool classRecord_;
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

}  // namespace brivana::testing
