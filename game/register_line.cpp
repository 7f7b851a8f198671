#include "game/register_line.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace brivana {

namespace {

constexpr std::array<std::string_view, 4> kEndingWords = {"tempo", "esci", "finestra", "nuova"};
constexpr std::size_t kFieldCount = 9;
constexpr std::size_t kResultFieldCount = 7;

// The next character of text from at, or nothing when the bytes there are not well-formed
// UTF-8 (overlong forms, surrogates and values past U+10FFFF included); at moves past it.
std::optional<char32_t> NextCharacter(std::string_view text, std::size_t& at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    char32_t value = 0;
    char32_t least = 0;
    if (lead < 0x80) {
        ++at;
        return lead;
    }
    if ((lead & 0xE0) == 0xC0) length = 2, value = lead & 0x1F, least = 0x80;
    else if ((lead & 0xF0) == 0xE0) length = 3, value = lead & 0x0F, least = 0x800;
    else if ((lead & 0xF8) == 0xF0) length = 4, value = lead & 0x07, least = 0x10000;
    else {
        ++at;
        return std::nullopt;
    }
    std::size_t i = 1;
    for (; i < length; ++i) {
        if (at + i >= text.size() || (byte(at + i) & 0xC0) != 0x80) break;
        value = (value << 6) | (byte(at + i) & 0x3F);
    }
    at += i;
    if (i < length || value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return std::nullopt;
    return value;
}

// Characters that would break a line or hide in it: C0 and C1 controls, DEL, and the Unicode
// line and paragraph separators.
bool IsControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029; }

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string Quoted(std::string_view text)
{
    if (text.find_first_of(";\"") == std::string_view::npos) return std::string(text);
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

// The fields of text split at every ";" outside quotes, quotes undone; nothing when a quote is
// misplaced (inside an unquoted field, or a quoted field with anything after its closing quote).
std::optional<std::vector<std::string>> SplitFields(std::string_view text)
{
    std::vector<std::string> fields;
    std::size_t at = 0;
    for (;;) {
        std::string field;
        if (at < text.size() && text[at] == '"') {
            ++at;
            for (;;) {
                if (at >= text.size()) return std::nullopt;
                if (text[at] == '"') {
                    if (at + 1 < text.size() && text[at + 1] == '"') {
                        field += '"';
                        at += 2;
                        continue;
                    }
                    ++at;
                    break;
                }
                field += text[at++];
            }
            if (at < text.size() && text[at] != ';') return std::nullopt;
        } else {
            const std::size_t end = std::min(text.find(';', at), text.size());
            field = text.substr(at, end - at);
            if (field.find('"') != std::string::npos) return std::nullopt;
            at = end;
        }
        fields.push_back(std::move(field));
        if (at >= text.size()) return fields;
        ++at;  // the ";"
    }
}

// A decimal 0..most as written here: digits only, no leading zero.
std::optional<int> Count(std::string_view text, int most)
{
    if (text.empty() || text.size() > 5 || (text.size() > 1 && text.front() == '0')) return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > most) return std::nullopt;
    return value;
}

std::optional<GameResult> ResultOf(const std::vector<std::string>& fields, std::size_t first)
{
    GameResult result;
    result.pupil = fields[first];
    const auto right = Count(fields[first + 1], kTallyMax);
    const auto wrong = Count(fields[first + 2], kTallyMax);
    const auto total = Count(fields[first + 3], kTallyMax);
    const auto seconds = Count(fields[first + 4], kGameSeconds);
    const auto ending = std::find(kEndingWords.begin(), kEndingWords.end(), fields[first + 5]);
    const std::string& record = fields[first + 6];
    if (!right || !wrong || !total || !seconds || ending == kEndingWords.end() || (record != "0" && record != "1"))
        return std::nullopt;
    result.right = *right;
    result.wrong = *wrong;
    result.total = *total;
    result.seconds = *seconds;
    result.ending = static_cast<GameEnding>(ending - kEndingWords.begin());
    result.record = record == "1";
    if (!ResultProblem(result).empty()) return std::nullopt;
    return result;
}

bool IsWhen(std::string_view when)
{
    int year, month, day, hour, minute, second;
    char extra;
    if (when.size() != 19) return false;
    const std::string text(when);
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &year, &month, &day, &hour, &minute, &second,
                    &extra) != 6)
        return false;
    return year >= kFirstSchoolYear && year <= kLastSchoolYear + 1 && month >= 1 && month <= 12 && day >= 1 &&
           day <= 31 && hour <= 23 && minute <= 59 && second <= 60 && RegisterWhen(year, month, day, hour, minute, second) == when;
}

}  // namespace

std::string_view EndingWord(GameEnding ending) { return kEndingWords[static_cast<std::size_t>(ending)]; }

std::string RegisterText(std::string_view text)
{
    std::string out;
    std::size_t characters = 0;
    for (std::size_t at = 0; at < text.size() && characters < kRegisterTextMaxLength; ++characters) {
        const auto c = NextCharacter(text, at);
        AppendUtf8(out, !c ? U'\uFFFD' : IsControl(*c) ? U' ' : *c);
    }
    return out;
}

bool IsRegisterText(std::string_view text)
{
    std::size_t characters = 0;
    for (std::size_t at = 0; at < text.size(); ++characters) {
        const auto c = NextCharacter(text, at);
        if (!c || IsControl(*c) || characters >= kRegisterTextMaxLength) return false;
    }
    return true;
}

std::string EncodeResultFields(const GameResult& result)
{
    return Quoted(result.pupil) + ";" + std::to_string(result.right) + ";" + std::to_string(result.wrong) + ";" +
           std::to_string(result.total) + ";" + std::to_string(result.seconds) + ";" +
           std::string(EndingWord(result.ending)) + ";" + (result.record ? "1" : "0");
}

std::optional<GameResult> DecodeResultFields(std::string_view fields)
{
    const auto split = SplitFields(fields);
    if (!split || split->size() != kResultFieldCount) return std::nullopt;
    return ResultOf(*split, 0);
}

std::string ResultProblem(const GameResult& result)
{
    if (!IsRegisterText(result.pupil))
        return "Il nome da scrivere nel registro è più lungo di " + std::to_string(kRegisterTextMaxLength) +
               " caratteri o contiene caratteri di controllo: non lo scrivo.";
    const bool tallies = result.right >= 0 && result.right <= kTallyMax && result.wrong >= 0 &&
                         result.wrong <= kTallyMax && result.total == std::min(result.right + result.wrong, kTallyMax);
    if (!tallies || result.seconds < 0 || result.seconds > kGameSeconds ||
        static_cast<std::size_t>(result.ending) >= kEndingWords.size())
        return "Il risultato da scrivere nel registro non è quello di una partita: non lo scrivo.";
    return {};
}

bool IsValidLine(const RegisterLine& line)
{
    return IsWhen(line.when) && !line.computer.empty() && IsRegisterText(line.computer) &&
           ResultProblem(line.result).empty();
}

std::string EncodeRegisterLine(const RegisterLine& line)
{
    return line.when + ";" + Quoted(line.computer) + ";" + EncodeResultFields(line.result) + "\r\n";
}

std::optional<RegisterLine> DecodeRegisterLine(std::string_view line)
{
    if (line.size() >= 1 && line.back() == '\n') line.remove_suffix(1);
    if (line.size() >= 1 && line.back() == '\r') line.remove_suffix(1);
    if (line.size() > kRegisterLineLimit) return std::nullopt;
    const auto fields = SplitFields(line);
    if (!fields || fields->size() != kFieldCount) return std::nullopt;
    const auto result = ResultOf(*fields, 2);
    if (!result) return std::nullopt;
    RegisterLine decoded{(*fields)[0], (*fields)[1], *result};
    if (!IsValidLine(decoded)) return std::nullopt;
    return decoded;
}

std::string RegisterWhen(int year, int month, int day, int hour, int minute, int second)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute, second);
    return text;
}

int SchoolYearOf(int year, int month) { return month >= 9 ? year : year - 1; }

std::string RegisterFileName(int schoolYear)
{
    return "brivana-registro-" + std::to_string(schoolYear) + "-" + std::to_string(schoolYear + 1) + ".txt";
}

std::optional<int> SchoolYearOfFileName(std::string_view name)
{
    constexpr std::string_view prefix = "brivana-registro-";
    if (name.size() != prefix.size() + 13 || name.substr(0, prefix.size()) != prefix) return std::nullopt;
    const auto year = Count(name.substr(prefix.size(), 4), kLastSchoolYear);
    if (!year || *year < kFirstSchoolYear || RegisterFileName(*year) != name) return std::nullopt;
    return *year;
}

}  // namespace brivana
