#pragma once
// The real random source: a 64-bit Mersenne Twister into which each reseed stirs the time
// of day. The time is mixed with the generator's own state rather than replacing it, so two
// reseeds within one tick of the clock still lead to independent draws.

#include <cstdint>
#include <functional>
#include <random>

#include "game/random_source.h"

namespace brivana {

class SystemRandom final : public RandomSource {
public:
    using TimeOfDay = std::function<std::uint64_t()>;

    // Seeded from the clock and the system's entropy source.
    SystemRandom();
    // Fully determined by seed and timeOfDay, for reproducible tests.
    SystemRandom(std::uint64_t seed, TimeOfDay timeOfDay);

    double next() override;
    void reseedFromTime() override;

private:
    std::mt19937_64 engine_;
    TimeOfDay timeOfDay_;
};

}  // namespace brivana
