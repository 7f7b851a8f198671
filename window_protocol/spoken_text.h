#pragma once
// What a screen reader says of the game, in Italian, built from the texts the window shows:
// the same words for both windows. Signs are spoken as words ("meno 4"): a voice may skip a
// bare "-".

#include <optional>
#include <string>
#include <string_view>

namespace brivana::spoken {

// text with every sign spoken as "meno ": a "-" before a digit that does not follow a word or a
// number. "Sbagliato!! -12" gives "Sbagliato!! meno 12"; "5-3" stays.
std::string Signs(std::string_view text);

// The question as the answer box says it when it takes the focus.
std::string Question(std::string_view firstFactor, std::string_view secondFactor);

// The verdict and the three tallies, as "Nuovo calcolo" says them when it takes the focus.
std::string Verdict(std::string_view message, std::string_view correct, std::string_view wrong,
                    std::string_view total);

// The clock as shown ("00:12:30") in words: "Tempo restante 12 minuti 30 secondi".
std::string TimeLeft(std::string_view clock);

// The one notice the clock gives: when one minute is left. Nothing at any other time.
std::optional<std::string> ClockNotice(std::string_view clock);

// A label that shows a value, named for a screen reader: "Risposte esatte 3".
std::string LabelValue(std::string_view name, std::string_view shown);

}  // namespace brivana::spoken
