#pragma once
// The local calendar time of a moment, by the platform's thread-safe conversion.

#include <ctime>

namespace brivana {

// All fields zero when the system cannot convert the moment.
std::tm LocalTime(std::time_t moment);

}  // namespace brivana
