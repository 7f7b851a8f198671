#pragma once
// The local date and time in the day/month/year form Italian readers expect.

#include "game/date_time_source.h"

namespace brivana {

class SystemDateTime final : public DateTimeSource {
public:
    std::string nowText() override;
};

}  // namespace brivana
