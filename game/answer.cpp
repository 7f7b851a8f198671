// Typing and checking the answer.
#include <algorithm>
#include <cstdint>

#include "game/answer_keys.h"
#include "game/game.h"
#include "game/text_rules.h"

namespace brivana {

namespace {

using keys::kBackspace;
using keys::kEnter;
using keys::kMinus;

bool LetThrough(std::int16_t key)
{
    return key == kMinus || (key >= '0' && key <= '9') || key == kBackspace;
}

}  // namespace

void Game::txtAnswer_KeyPress(std::int16_t& keyAscii)
{
    if (ended_) return;
    if (LetThrough(keyAscii)) return;
    if (keyAscii != kEnter) {
        keyAscii = 0;
        return;
    }

    // An answer outside 16 bits cannot be the product: it is simply wrong.
    const auto answer = AnswerValue(view_.text(Field::txtAnswer));
    if (answer && *answer == state_.expectedProduct) {
        state_.correctCount = IncrementTally(state_.correctCount);
        view_.setText(Field::lblMessage, "Esatto. Sei proprio in gamba!");
    } else {
        state_.wrongCount = IncrementTally(state_.wrongCount);
        view_.setText(Field::lblMessage, "Sbagliato!! " + NumberText(state_.expectedProduct, "####0"));
        view_.setText(Field::lblScore1, NumberText(state_.wrongCount, "###0"));
    }
    view_.setText(Field::lblScore, NumberText(state_.correctCount, "####0"));
    // The answers given stop at the largest 16-bit value, as the other two tallies do.
    const int given = std::min(state_.wrongCount + state_.correctCount, int{INT16_MAX});
    view_.setText(Field::lblScore2, NumberText(given, "####0"));
    view_.setNextEnabled(true);
    view_.focusNext();
}

}  // namespace brivana
