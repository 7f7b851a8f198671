#pragma once
// The numbers a game keeps between events. One instance lives as long as the window;
// a reload of the window for a new game does not recreate it.

#include <cstdint>
#include <string>

namespace brivana {

struct GameState {
    std::int16_t expectedProduct = 0;  // product of the factors on screen
    std::int16_t correctCount = 0;     // stops at 32767
    std::int16_t wrongCount = 0;       // stops at 32767
    std::int16_t clockHours = 0;
    std::int16_t clockMinutes = 0;
    float clockSeconds = 0.0f;         // holds whole numbers only
    std::string recordDir;             // ends in the platform's path separator
    bool classRecord = false;          // the record is the whole lab's, on the school's server
};

}  // namespace brivana
