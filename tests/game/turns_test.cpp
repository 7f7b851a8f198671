#include "system/turns.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace brivana {
namespace {

// A game that asks again the moment it is answered must not keep a waiting classmate out.
TEST(Turns, AWaiterIsServedBeforeAHolderWhoAsksAgainAtOnce)
{
    Turns turns;
    std::mutex logMutex;
    std::vector<char> served;
    const auto log = [&](char who) {
        const std::lock_guard lock(logMutex);
        served.push_back(who);
    };
    auto flooder = std::make_unique<Turns::Turn>(turns);
    std::thread classmate([&] {
        const Turns::Turn turn(turns);
        log('c');
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the classmate is waiting by now
    for (int round = 0; round < 20; ++round) {
        flooder.reset();
        flooder = std::make_unique<Turns::Turn>(turns);
        log('f');
    }
    flooder.reset();
    classmate.join();
    ASSERT_FALSE(served.empty());
    EXPECT_EQ(served.front(), 'c');
}

}  // namespace
}  // namespace brivana
