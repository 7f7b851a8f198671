#pragma once
// A random source that gives scripted draws in order, then 0.5 for ever, and keeps a log of
// its calls.

#include <deque>
#include <string>

#include "game/random_source.h"

namespace brivana::testing {

class ScriptedRandom final : public RandomSource {
public:
    // The three draws of one question: p (-11..-1), q (-20..-1) and the sign pattern s (0..2).
    void queueQuestion(int p, int q, int s);
    double next() override;
    void reseedFromTime() override { log += "R"; }

    int drawn() const;

    std::deque<double> values;  // the draws still to give
    std::string log;            // "R" for a reseed, "d" for a draw, in order
    int unscripted = 0;         // draws made after the script ran out
};

}  // namespace brivana::testing
