#pragma once
// A random source that gives the draws of scripted questions, then 0.5 for ever.

#include <QList>
#include <cstdint>

#include "game/random_source.h"

namespace brivana::test {

class ScriptedRandom final : public RandomSource {
public:
    // The three draws of one question: p (-11..-1), q (-20..-1) and the sign pattern s (0..2).
    void queueQuestion(int p, int q, int s)
    {
        draws_.append((-p - 0.5) / 11.0);
        draws_.append((-q - 0.5) / 20.0);
        draws_.append((s + 0.5) / 3.0);
    }

    double next() override
    {
        ++drawn_;
        return draws_.isEmpty() ? 0.5 : draws_.takeFirst();
    }
    void reseedFromTime() override {}

    int drawn() const { return drawn_; }

private:
    QList<double> draws_;
    int drawn_ = 0;
};

}  // namespace brivana::test
