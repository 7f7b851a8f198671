// The real random source, driven through whole questions.
#include "system/system_random.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

#include "fake_services.h"
#include "fake_view.h"
#include "game/game.h"
#include "game/record_store.h"

namespace brivana::testing {
namespace {

TEST(SystemRandom, StaysWithinZeroAndOne)
{
    SystemRandom random(7, [] { return std::uint64_t{0}; });
    for (int i = 0; i < 100000; ++i) {
        const double r = random.next();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
    }
}

TEST(SystemRandom, TwoReseedsWithinOneClockTickStillGiveNewDraws)
{
    SystemRandom random(7, [] { return std::uint64_t{123456789}; });
    random.reseedFromTime();
    const double first = random.next();
    random.reseedFromTime();
    const double second = random.next();
    EXPECT_NE(first, second);
}

// Over 30,000 questions every pair (size of the first factor, sign pattern) should come up
// about 1/33 of the time, even when every reseed happens within the same clock tick.
// Seeded, so the result is the same on every run; the threshold is the chi-square value
// that 32 degrees of freedom exceed by chance once in a thousand.
TEST(SystemRandom, GivesEveryFirstFactorAndSignPatternEvenlyEvenWithAFrozenClock)
{
    constexpr int kQuestions = 30000;
    constexpr double kChiSquareLimit = 62.49;
    SystemRandom random(20261208, [] { return std::uint64_t{1733650000}; });
    FakeView view;
    FixedDateTime dateTime;
    TempDir dir;
    FixedRecordPlace place(dir.recordDir());
    SystemFileAccess files;
    FixedRegisterStamps stamps;
    LocalRecordKeeper records(files, stamps);
    Game game(view, Services{random, dateTime, place, records});
    view.setText(Field::lblpunti, "99999");  // no record notice in the way

    std::array<std::array<int, 3>, 12> counts{};
    for (int i = 0; i < kQuestions; ++i) {
        game.cmdNext_Click();
        const int a = std::atoi(view.text(Field::lblNum1).c_str());
        const int b = std::atoi(view.text(Field::lblNum2).c_str());
        const int pattern = (a < 0 && b < 0) ? 0 : (a < 0 ? 1 : 2);
        ASSERT_TRUE(a < 0 || b < 0) << "at least one factor is negative";
        ASSERT_GE(std::abs(a), 1);
        ASSERT_LE(std::abs(a), 11);
        ASSERT_GE(std::abs(b), 1);
        ASSERT_LE(std::abs(b), 20);
        ++counts[static_cast<std::size_t>(std::abs(a))][static_cast<std::size_t>(pattern)];
    }

    const double expected = kQuestions / 33.0;
    double chiSquare = 0;
    for (int size = 1; size <= 11; ++size)
        for (int pattern = 0; pattern < 3; ++pattern) {
            const double difference = counts[static_cast<std::size_t>(size)][static_cast<std::size_t>(pattern)] - expected;
            chiSquare += difference * difference / expected;
        }
    EXPECT_LT(chiSquare, kChiSquareLimit);
}

}  // namespace
}  // namespace brivana::testing
