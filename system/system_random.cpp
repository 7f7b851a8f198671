#include "system/system_random.h"

#include <chrono>
#include <utility>

namespace brivana {

namespace {

std::uint64_t NanosecondsOfClock()
{
    return static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

std::uint64_t EntropySeed()
{
    std::random_device device;
    return (static_cast<std::uint64_t>(device()) << 32) ^ device() ^ NanosecondsOfClock();
}

}  // namespace

SystemRandom::SystemRandom() : SystemRandom(EntropySeed(), NanosecondsOfClock) {}

SystemRandom::SystemRandom(std::uint64_t seed, TimeOfDay timeOfDay)
    : engine_(seed), timeOfDay_(std::move(timeOfDay))
{
}

double SystemRandom::next()
{
    // The top 53 bits give every double in [0, 1) on a grid of 2^-53; never 1.
    return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}

void SystemRandom::reseedFromTime()
{
    const std::uint64_t time = timeOfDay_();
    const std::uint64_t a = engine_();
    const std::uint64_t b = engine_();
    std::seed_seq mixed{static_cast<std::uint32_t>(a), static_cast<std::uint32_t>(a >> 32),
                        static_cast<std::uint32_t>(b), static_cast<std::uint32_t>(b >> 32),
                        static_cast<std::uint32_t>(time), static_cast<std::uint32_t>(time >> 32)};
    engine_.seed(mixed);
}

}  // namespace brivana
