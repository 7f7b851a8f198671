#include "system/turns.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <thread>

namespace brivana {
namespace {

// A game that asks again the moment it is answered must not keep a waiting classmate out.
TEST(Turns, AWaiterIsServedBeforeAHolderWhoAsksAgainAtOnce)
{
    Turns turns;
    int flooderTurns = 0, flooderTurnsBeforeClassmate = -1;  // handed over by the turns themselves
    std::optional<Turns::Turn> flooder(std::in_place, turns);
    std::thread classmate([&] { const Turns::Turn turn(turns); flooderTurnsBeforeClassmate = flooderTurns; });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the classmate is waiting by now
    for (; flooderTurns < 20; ++flooderTurns) flooder.emplace(turns);
    flooder.reset();
    classmate.join();
    EXPECT_EQ(flooderTurnsBeforeClassmate, 0);
}

}  // namespace
}  // namespace brivana
