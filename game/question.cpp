// Posing the next multiplication.
#include <cmath>

#include "game/game.h"
#include "game/text_rules.h"

namespace brivana {

namespace {

// floor(r * scale) as a 16-bit value; r in [0, 1) keeps it within the scale.
std::int16_t Draw(RandomSource& random, double scale)
{
    return static_cast<std::int16_t>(std::floor(random.next() * scale));
}

}  // namespace

void Game::cmdNext_Click()
{
    if (ended_) return;

    view_.setText(Field::txtAnswer, "");
    view_.setText(Field::lblMessage, "");

    services_.random.reseedFromTime();
    const std::int16_t p = Draw(services_.random, -11.0);
    const std::int16_t q = Draw(services_.random, -20.0);
    services_.random.reseedFromTime();
    const std::int16_t s = Draw(services_.random, 3.0);

    // At least one factor stays negative: both, only the first, or only the second.
    const std::int16_t a = s == 2 ? static_cast<std::int16_t>(-p) : p;
    const std::int16_t b = s == 1 ? static_cast<std::int16_t>(-q) : q;

    view_.setText(Field::lblNum1, NumberText(a, "#0"));
    view_.setText(Field::lblnum5, NumberText(0, "#0"));
    view_.setText(Field::lblNum2, NumberText(b, "#0"));
    state_.expectedProduct = static_cast<std::int16_t>(b * a);

    view_.setNextEnabled(false);

    // The score has just passed the record.
    const double recordPlusOne = LeadingNumber(view_.text(Field::lblpunti)) + 1;
    const auto score = StrictNumber(view_.text(Field::lblScore));
    if (score && static_cast<double>(*score) == recordPlusOne) {
        view_.messageBox("E' record", MsgStyle::ok);
        if (ended_) return;  // the clock ran out while the notice was open
    }

    view_.paintBackground(p, q);
    view_.focusAnswer();
}

}  // namespace brivana
