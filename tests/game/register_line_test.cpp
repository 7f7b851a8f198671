// The register's line: what survives a round trip, what a keeper refuses, and the school years.
#include "game/register_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace brivana::testing {
namespace {

std::string Repeated(std::string_view piece, std::size_t times) { return times ? std::string(piece) + Repeated(piece, times - 1) : ""; }

TEST(RegisterLine, NamesAsTypedComeBackWholeAndOneLineStaysOneLine)
{
    const struct { std::string typed, kept; } names[] = {
        {"Rossi; Mario", "Rossi; Mario"}, {"\"Bea\" O'Neil", "\"Bea\" O'Neil"}, {"\";\"", "\";\""}, {"", ""},
        {" spazio ", " spazio "}, {"Zoë Łukasz 日本 🙂", "Zoë Łukasz 日本 🙂"}, {"Riga\r\nnuova\tA", "Riga  nuova A"},
        {std::string("An\0na", 5), "An na"}, {"a\xC2\x85" "b\xE2\x80\xA8" "c", "a b c"}, {"Zo\xEB", "Zo\xEF\xBF\xBD"},
        {Repeated("à", 255), Repeated("à", 255)}, {Repeated("🙂", 300), Repeated("🙂", 255)},
        {Repeated(";\"", 200), Repeated(";\"", 127) + ";"},
    };
    for (const auto& [typed, kept] : names) {
        SCOPED_TRACE(typed.substr(0, 30));
        const RegisterLine line{"2026-09-01 08:00:00", "A;\"", {RegisterText(typed), 7, 2, 9, 900, GameEnding::newGame, true}};
        EXPECT_EQ(line.result.pupil, kept);
        const std::string encoded = EncodeRegisterLine(line);
        EXPECT_LE(encoded.size(), kRegisterLineLimit);
        EXPECT_EQ(encoded.find('\n'), encoded.size() - 1);
        EXPECT_EQ(DecodeRegisterLine(encoded), line);
        EXPECT_EQ(DecodeResultFields(EncodeResultFields(line.result)), line.result);
    }
    EXPECT_EQ(EncodeRegisterLine({"2026-12-08 09:41:07", "PC", {"Rossi; \"M\"", 12, 3, 15, 61, GameEnding::clockRanOut, false}}),
              "2026-12-08 09:41:07;PC;\"Rossi; \"\"M\"\"\";12;3;15;61;tempo;0\r\n");
}

TEST(RegisterLine, AnythingButAWholeValidLineIsRefused)
{
    const std::string when = "2026-12-08 09:41:07;";
    const std::string good = when + "PC;Anna;12;3;15;61;esci;0";
    ASSERT_TRUE(DecodeRegisterLine(good + "\n"));
    const std::vector<std::string> refused = {
        "", good.substr(0, good.size() - 1), good + ";", good + "\r\r\n", when + "PC;An\"na;12;3;15;61;esci;0",
        when + "PC;\"Anna;12;3;15;61;esci;0", when + "PC;\"An\"na\";12;3;15;61;esci;0", when + ";Anna;12;3;15;61;esci;0",
        "2026-13-08 09:41:07;PC;Anna;12;3;15;61;esci;0", "2026-12-08 9:41:07;PC;Anna;12;3;15;61;esci;0",
        when + "PC;Anna;12;3;14;61;esci;0", when + "PC;Anna;012;3;15;61;esci;0", when + "PC;Anna;-1;3;2;61;esci;0",
        when + "PC;Anna;12;3;15;901;esci;0", when + "PC;Anna;12;3;15;61;Esci;0", when + "PC;Anna;12;3;15;61;esci;2",
        when + "PC;An\tna;12;3;15;61;esci;0", when + "PC;" + Repeated("a", 256) + ";12;3;15;61;esci;0"};
    for (const std::string& bad : refused) EXPECT_FALSE(DecodeRegisterLine(bad)) << bad.substr(0, 80);
    // The tallies stop at the largest 16-bit value, as the game's do.
    EXPECT_TRUE(DecodeRegisterLine(when + "PC;Anna;32767;1;32767;900;esci;1"));
}

TEST(RegisterLine, ASchoolYearStartsOnTheFirstOfSeptemberAndNamesItsFile)
{
    EXPECT_EQ(SchoolYearOf(2026, 8), 2025);
    EXPECT_EQ(SchoolYearOf(2026, 9), 2026);
    EXPECT_EQ(RegisterFileName(2026), "brivana-registro-2026-2027.txt");
    EXPECT_EQ(SchoolYearOfFileName("brivana-registro-2026-2027.txt"), 2026);
    for (const char* other : {"brivana-registro-2026-2028.txt", "brivana-registro-2026-2027.txt.tmp", "briv2s.txt"})
        EXPECT_FALSE(SchoolYearOfFileName(other)) << other;
}

}  // namespace
}  // namespace brivana::testing
