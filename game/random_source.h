#pragma once
// A uniform pseudo-random source, passed in so that tests can script every draw.

namespace brivana {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // A value r with 0 <= r < 1.
    virtual double next() = 0;
    // Stirs the time of day into the generator.
    virtual void reseedFromTime() = 0;
};

}  // namespace brivana
