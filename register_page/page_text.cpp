#include "register_page/page_text.h"

#include <array>
#include <chrono>
#include <cstdio>

namespace brivana::register_page {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// The length of the valid UTF-8 sequence at the start of text; 0 when it is not one.
std::size_t Utf8SequenceLength(std::string_view text)
{
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // overlong
        if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;  // past U+10FFFF
    } else
        return 0;
    if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    return length;
}

std::string TwoDigits(int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

}  // namespace

std::string CleanText(std::string_view text)
{
    std::string clean;
    clean.reserve(text.size());
    while (!text.empty()) {
        const std::size_t length = Utf8SequenceLength(text);
        const auto lead = static_cast<unsigned char>(text[0]);
        const bool control = length == 1 && (lead < 0x20 || lead == 0x7F);
        // C1 controls, U+0080 to U+009F, are two bytes: C2 80 to C2 9F.
        const bool c1 = length == 2 && lead == 0xC2 && static_cast<unsigned char>(text[1]) < 0xA0;
        if (length == 0 || control || c1)
            clean += kReplacement;
        else
            clean += text.substr(0, length);
        text.remove_prefix(length == 0 ? 1 : length);
    }
    return clean;
}

std::string EscapeHtml(std::string_view text)
{
    std::string escaped;
    for (const char c : CleanText(text)) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\'': escaped += "&#39;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::string DateText(const Moment& moment)
{
    return TwoDigits(moment.day) + "/" + TwoDigits(moment.month) + "/" + std::to_string(moment.year);
}

std::string TimeText(const Moment& moment) { return TwoDigits(moment.hour) + ":" + TwoDigits(moment.minute); }

std::string LongDateText(const Moment& moment)
{
    static constexpr std::array<const char*, 7> kWeekdays = {"domenica", "lunedì",  "martedì", "mercoledì",
                                                             "giovedì",  "venerdì", "sabato"};
    static constexpr std::array<const char*, 12> kMonths = {"gennaio", "febbraio", "marzo",     "aprile",
                                                            "maggio",  "giugno",   "luglio",    "agosto",
                                                            "settembre", "ottobre", "novembre", "dicembre"};
    const std::chrono::year_month_day date{std::chrono::year{moment.year} /
                                           std::chrono::month{static_cast<unsigned>(moment.month)} /
                                           std::chrono::day{static_cast<unsigned>(moment.day)}};
    const unsigned weekday = std::chrono::weekday{std::chrono::sys_days{date}}.c_encoding();
    return std::string(kWeekdays[weekday]) + " " + std::to_string(moment.day) + " " + kMonths[moment.month - 1] + " " +
           std::to_string(moment.year);
}

std::string DurationText(int seconds)
{
    if (seconds < 0) seconds = 0;
    return std::to_string(seconds / 60) + ":" + TwoDigits(seconds % 60);
}

std::string EndingText(GameEnding ending)
{
    switch (ending) {
    case GameEnding::clockRanOut: return "tempo scaduto";
    case GameEnding::exit: return "uscita con Esci";
    case GameEnding::newGame: return "nuova partita";
    case GameEnding::windowClosed: return "finestra chiusa";
    }
    return "";
}

}  // namespace brivana::register_page
