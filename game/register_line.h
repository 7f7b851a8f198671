#pragma once
// One line of the teachers' register: one game's result as the keeper appends it to the register
// file of the school year it was played in, and the check of every field. Lines are UTF-8, end
// in CR LF, and hold nine fields separated by ";":
//   when;computer;pupil;right;wrong;total;seconds;ending;record
//   2026-12-08 09:41:07;AULA-3;"Rossi; ""Mario""";12;3;15;900;tempo;1
// A text field is put in double quotes, its quotes doubled, when it holds ";" or a quote.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace brivana {

// How a game ended. The words are those the register line holds.
enum class GameEnding { clockRanOut, exit, windowClosed, newGame };
std::string_view EndingWord(GameEnding ending);  // "tempo", "esci", "finestra", "nuova"

// What a game hands the keeper; the keeper adds the date, the time and the computer's name.
struct GameResult {
    std::string pupil;  // the name as typed, made fit by RegisterText
    int right = 0;
    int wrong = 0;
    int total = 0;      // answers given: right + wrong, stopping at kTallyMax as the game's tally does
    int seconds = 0;    // played, 0..kGameSeconds
    GameEnding ending = GameEnding::exit;
    bool record = false;  // this game's score was saved as the record

    bool operator==(const GameResult&) const = default;
};

struct RegisterLine {
    std::string when;      // local time, "2026-12-08 09:41:07"
    std::string computer;  // as the keeper's system names it
    GameResult result;

    bool operator==(const RegisterLine&) const = default;
};

inline constexpr std::size_t kRegisterTextMaxLength = 255;  // characters of a name
inline constexpr int kTallyMax = 32767;
inline constexpr int kGameSeconds = 15 * 60;
// No line is longer than this, line end included: two longest names of four-byte characters,
// every quote doubled, and the rest.
inline constexpr std::size_t kRegisterLineLimit = 2 * (kRegisterTextMaxLength * 4 * 2 + 2) + 64;

// text as a register line holds it: malformed UTF-8 becomes U+FFFD, every control or line
// separating character (CR, LF, tab, ...) a space, and the characters past
// kRegisterTextMaxLength are left out.
std::string RegisterText(std::string_view text);
// Whether text is already so: well-formed, short enough, no control character.
bool IsRegisterText(std::string_view text);

// The fields of a result (pupil to record), ";"-separated, as the game sends them to the keeper.
std::string EncodeResultFields(const GameResult& result);
// Nothing unless fields are exactly the result fields of a valid result.
std::optional<GameResult> DecodeResultFields(std::string_view fields);
// Why the keeper refuses this result, in Italian; empty when it may be appended.
std::string ResultProblem(const GameResult& result);

// The whole line, CR LF included. The line must be valid (IsValidLine).
std::string EncodeRegisterLine(const RegisterLine& line);
// One line as read, with or without its CR LF; nothing when it is not a whole, valid line.
std::optional<RegisterLine> DecodeRegisterLine(std::string_view line);
bool IsValidLine(const RegisterLine& line);

// "YYYY-MM-DD hh:mm:ss", from the calendar fields (month 1..12).
std::string RegisterWhen(int year, int month, int day, int hour, int minute, int second);

// The school year a day belongs to, named by the year it starts in: it starts on 1 September.
int SchoolYearOf(int year, int month);
// The register file of a school year, beside the record files: "brivana-registro-2026-2027.txt".
std::string RegisterFileName(int schoolYear);
// The school year a register file name names; nothing for any other name.
std::optional<int> SchoolYearOfFileName(std::string_view name);
inline constexpr int kFirstSchoolYear = 2000;
inline constexpr int kLastSchoolYear = 9998;

}  // namespace brivana
