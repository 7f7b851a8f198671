// What a screen reader is told: signs spoken as words, the clock in words, one notice a game.
#include "window_protocol/spoken_text.h"

#include <gtest/gtest.h>

namespace brivana {
namespace {

TEST(SpokenText, QuestionAndVerdictSpeakEverySignAsAWord)
{
    EXPECT_EQ(spoken::Question("-4", "8"), "Quanto fa meno 4 per 8? Scrivi il risultato e premi Invio.");
    EXPECT_EQ(spoken::Question("11", "-20"), "Quanto fa 11 per meno 20? Scrivi il risultato e premi Invio.");
    EXPECT_EQ(spoken::Verdict("Sbagliato!! -160", "1", "1", "2"),
              "Sbagliato!! meno 160. Risposte esatte 1, errate 1, totali 2.");
    EXPECT_EQ(spoken::Verdict("Esatto. Sei proprio in gamba!", "3", "0", "3"),
              "Esatto. Sei proprio in gamba! Risposte esatte 3, errate 0, totali 3.");
    // A dash that is no sign stays as it is.
    EXPECT_EQ(spoken::Signs("-1 Anna - 5-3 x-2"), "meno 1 Anna - 5-3 x-2");
    EXPECT_EQ(spoken::LabelValue("Risposte esatte", "3"), "Risposte esatte 3");
    EXPECT_EQ(spoken::LabelValue("Nome dello sfidante", ""), "Nome dello sfidante");
    EXPECT_EQ(spoken::LabelValue("Punti del record", "-9\r\n"), "Punti del record meno 9");
}

TEST(SpokenText, ClockInWordsAndItsOneNotice)
{
    const struct {
        const char* clock;
        const char* said;
        bool notice;
    } rows[] = {
        {"00:12:30", "Tempo restante 12 minuti 30 secondi", false},
        {"00:15:00", "Tempo restante 15 minuti", false},
        {"01:01:01", "Tempo restante 1 ora 1 minuto 1 secondo", false},
        {"00:01:00", "Tempo restante 1 minuto", true},
        {"00:00:59", "Tempo restante 59 secondi", false},
        {"00:01:01", "Tempo restante 1 minuto 1 secondo", false},
        {"00:00:00", "Tempo scaduto", false},
        {"00.00.00", "Tempo restante 00.00.00", false},  // the design-time text, before any game
        {"00:-1:00", "Tempo restante 00:-1:00", false},
        {"00:01:00:00", "Tempo restante 00:01:00:00", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(spoken::TimeLeft(row.clock), row.said) << row.clock;
        EXPECT_EQ(spoken::ClockNotice(row.clock).has_value(), row.notice) << row.clock;
    }
}

}  // namespace
}  // namespace brivana
