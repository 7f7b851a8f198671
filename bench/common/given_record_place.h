#pragma once
// Keeps the record in a directory the benchmark gives, never in the machine's own.

#include <string>
#include <utility>

#include "game/record_place.h"

namespace brivana::bench {

class GivenRecordPlace final : public RecordPlace {
public:
    // dir ends in '/'.
    explicit GivenRecordPlace(std::string dir) : dir_(std::move(dir)) {}
    RecordLocation locate() override { return {dir_, {}}; }

private:
    std::string dir_;
};

}  // namespace brivana::bench
