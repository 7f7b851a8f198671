// The register's reading when the file is damaged, the figures of the pupil summary, the periods,
// and the texts made safe for the spreadsheet: what the browser and LibreOffice checks cannot
// reach one case at a time.
#include <gtest/gtest.h>

#include <sstream>

#include "register_page/page_text.h"
#include "register_page/periods.h"
#include "register_page/pupil_summary.h"
#include "register_page/register_csv.h"
#include "register_page/register_reading.h"

namespace brivana::register_page {
namespace {

// Lines reading "ok" are games; any other line is damaged.
std::optional<PlayedGame> DecodeOk(std::string_view line)
{
    if (line != "ok") return std::nullopt;
    return PlayedGame{};
}

TEST(RegisterReadingTest, KeepsEveryWholeLineAndCountsTheOthers)
{
    struct Row {
        std::string file;
        std::size_t games, unreadable;
        bool cutShort;
        std::size_t mostBytes = 1 << 20;
    };
    const std::string endless(10000, 'x');
    const Row rows[] = {
        {"", 0, 0, false},
        {"ok\nok\r\nok", 3, 0, false},                          // CR LF, and a last line without its end
        {"ok\n\nok\n", 2, 0, false},                             // a blank line is nothing
        {"ok\nbad\nok\no", 2, 2, false},                         // a bad line, and one cut short
        {"ok\n" + endless + "\nok\n", 2, 1, false},              // an endless line, never held whole
        {"ok\n" + endless, 1, 1, false},
        {std::string("ok\n\0\xff\x01\n", 7) + "ok\n", 2, 1, false},  // binary junk
        {"ok\nok\nok\nok\n", 2, 0, true, 7},                     // past the most read: cut short there
        {"ok\nok\n", 2, 0, false, 6},                          // exactly the most read
    };
    for (const Row& row : rows) {
        std::istringstream in(row.file);
        const RegisterReading reading = ReadRegister(in, DecodeOk, {64, row.mostBytes});
        EXPECT_EQ(reading.games.size(), row.games) << row.file.substr(0, 40);
        EXPECT_EQ(reading.unreadableLines, row.unreadable) << row.file.substr(0, 40);
        EXPECT_EQ(reading.cutShort, row.cutShort) << row.file.substr(0, 40);
    }
}

PlayedGame Game(Moment when, std::string pupil, int right, int wrong)
{
    PlayedGame game;
    game.when = when;
    game.pupil = std::move(pupil);
    game.right = right;
    game.wrong = wrong;
    game.total = right + wrong;
    return game;
}

TEST(PupilSummaryTest, GathersAPupilsGamesInTheOrderPlayed)
{
    // Out of order in the register, as games of several computers may be.
    const std::vector<PlayedGame> games = {
        Game({2026, 12, 8, 9, 0, 0}, "Marta  Neri ", 4, 3), Game({2026, 11, 30, 9, 0, 0}, "Ugo", 1, 0),
        Game({2026, 12, 1, 9, 0, 0}, "marta neri", 9, 1), Game({2026, 12, 9, 9, 0, 0}, "Ugo", 0, 0),
        Game({2026, 12, 7, 9, 0, 0}, "Marta Neri", 2, 0)};
    const std::vector<PupilSummary> pupils = SummarizePupils(games, {2026, 12, 1, 0, 0, 0});
    ASSERT_EQ(pupils.size(), 2u);
    const PupilSummary& marta = pupils[0];
    EXPECT_EQ(marta.name, "Marta  Neri ");
    EXPECT_EQ(marta.games, 3);
    EXPECT_EQ(marta.bestTotal, 10);
    EXPECT_EQ(marta.lastTotal, 7);
    EXPECT_EQ(RightPercent(marta.right, marta.answers), 79);  // 15 of 19
    EXPECT_EQ(marta.lastPlayed, (Moment{2026, 12, 8, 9, 0, 0}));
    ASSERT_EQ(marta.points.size(), 3u);
    EXPECT_EQ(marta.points[0].right, 9);
    EXPECT_EQ(marta.points[2].right, 4);
    EXPECT_EQ(pupils[1].games, 1);  // Ugo's game of November is before the period
    EXPECT_EQ(RightPercent(pupils[1].right, pupils[1].answers), -1);
    EXPECT_EQ(RightPercent(1, 3), 33);
    EXPECT_EQ(RightPercent(1, 200), 1);  // rounded, not cut
}

TEST(PeriodsTest, CountBackFromMondayTheFirstAndSeptember)
{
    struct Row {
        Moment today, week, month, year;
    };
    const Row rows[] = {
        {{2026, 12, 1, 10, 0, 0}, {2026, 11, 30}, {2026, 12, 1}, {2026, 9, 1}},  // a Tuesday
        {{2027, 8, 29, 10, 0, 0}, {2027, 8, 23}, {2027, 8, 1}, {2026, 9, 1}},    // a Sunday of August
        {{2027, 9, 1, 0, 0, 0}, {2027, 8, 30}, {2027, 9, 1}, {2027, 9, 1}},
    };
    for (const Row& row : rows) {
        const std::array<Period, 3> periods = PeriodsOf(row.today);
        EXPECT_EQ(periods[0].from, row.week) << DateText(row.today);
        EXPECT_EQ(periods[1].from, row.month) << DateText(row.today);
        EXPECT_EQ(periods[2].from, row.year) << DateText(row.today);
    }
}

TEST(RegisterCsvTest, NamesStayTextWhateverTheyHold)
{
    const std::string csv = RegisterCsv({Game({2026, 12, 8, 9, 5, 7}, "=HYPERLINK(\"x\")", 1, 0),
                                         Game({2026, 12, 8, 9, 6, 0}, std::string("Zo\xc3\xab\xff\x07", 6), 1, 0)});
    EXPECT_NE(csv.find("2026-12-08;09:05:07;\"\";\"'=HYPERLINK(\"\"x\"\")\";1;0;1;"), std::string::npos) << csv;
    // A broken byte and a control character are shown as such, never passed on.
    EXPECT_NE(csv.find("\"Zo\xc3\xab\xef\xbf\xbd\xef\xbf\xbd\""), std::string::npos) << csv;
}

}  // namespace
}  // namespace brivana::register_page
