#pragma once
// The current date and time as the player reads them, e.g. "08/12/2026 09:41:07".

#include <string>

namespace brivana {

class DateTimeSource {
public:
    virtual ~DateTimeSource() = default;
    virtual std::string nowText() = 0;
};

}  // namespace brivana
