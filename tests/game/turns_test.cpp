#include "system/turns.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace brivana {
namespace {

// A game that asks again the moment it is answered must not keep a waiting classmate out.
TEST(Turns, AWaiterIsServedBeforeAHolderWhoAsksAgainAtOnce)
{
    Turns turns;
    std::atomic<int> flooderTurnsBeforeClassmate{-1};
    int flooderTurns = 0;
    auto flooder = std::make_unique<Turns::Turn>(turns);
    std::thread classmate([&] {
        const Turns::Turn turn(turns);
        flooderTurnsBeforeClassmate = flooderTurns;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the classmate is waiting by now
    for (; flooderTurns < 20; ++flooderTurns) {
        flooder.reset();
        flooder = std::make_unique<Turns::Turn>(turns);
    }
    flooder.reset();
    classmate.join();
    EXPECT_EQ(flooderTurnsBeforeClassmate, 0);
}

}  // namespace
}  // namespace brivana
