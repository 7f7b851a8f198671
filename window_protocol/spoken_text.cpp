#include "window_protocol/spoken_text.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "game/text_rules.h"

namespace brivana::spoken {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "1 minuto", "12 minuti".
std::string Count(long long n, std::string_view one, std::string_view many)
{
    return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

// The hours, minutes and seconds of a clock text "hh:mm:ss"; nothing for any other text.
std::optional<std::array<long long, 3>> ClockParts(std::string_view clock)
{
    std::array<long long, 3> parts{};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::size_t colon = clock.find(':');
        const std::string_view part = i + 1 < parts.size() ? clock.substr(0, colon) : clock;
        if ((i + 1 < parts.size()) == (colon == std::string_view::npos)) return std::nullopt;
        const auto value = StrictNumber(part);
        if (!value || *value < 0 || part.empty() || part.front() == '-') return std::nullopt;
        parts[i] = *value;
        if (colon != std::string_view::npos) clock.remove_prefix(colon + 1);
    }
    return parts;
}

}  // namespace

std::string Signs(std::string_view text)
{
    std::string said;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool afterWord = i > 0 && (IsDigit(text[i - 1]) || std::isalpha(static_cast<unsigned char>(text[i - 1])));
        if (text[i] == '-' && !afterWord && i + 1 < text.size() && IsDigit(text[i + 1]))
            said += "meno ";
        else
            said += text[i];
    }
    return said;
}

std::string Question(std::string_view firstFactor, std::string_view secondFactor)
{
    std::string said = "Quanto fa ";
    said += Signs(firstFactor);
    said += " per ";
    said += Signs(secondFactor);
    return said + "? Scrivi il risultato e premi Invio.";
}

std::string Verdict(std::string_view message, std::string_view correct, std::string_view wrong,
                    std::string_view total)
{
    std::string said = Signs(message);
    if (!said.empty() && said.back() != '.' && said.back() != '!') said += '.';
    return said + " Risposte esatte " + std::string(correct) + ", errate " + std::string(wrong) + ", totali " +
           std::string(total) + ".";
}

std::string TimeLeft(std::string_view clock)
{
    const auto parts = ClockParts(clock);
    std::string said = "Tempo restante";
    if (!parts) return said.append(" ").append(clock);
    const auto [hours, minutes, seconds] = *parts;
    if (hours == 0 && minutes == 0 && seconds == 0) return "Tempo scaduto";
    if (hours > 0) said.append(" ").append(Count(hours, "ora", "ore"));
    if (minutes > 0) said.append(" ").append(Count(minutes, "minuto", "minuti"));
    if (seconds > 0) said.append(" ").append(Count(seconds, "secondo", "secondi"));
    return said;
}

std::optional<std::string> ClockNotice(std::string_view clock)
{
    const auto parts = ClockParts(clock);
    if (!parts || *parts != std::array<long long, 3>{0, 1, 0}) return std::nullopt;
    return "Attenzione: manca un minuto alla fine del gioco.";
}

std::string LabelValue(std::string_view name, std::string_view shown)
{
    // A record file's line break stays in the label's text: it is no word.
    std::string value = Signs(shown);
    std::ranges::replace(value, '\r', ' ');
    std::ranges::replace(value, '\n', ' ');
    const std::size_t first = value.find_first_not_of(' ');
    std::string said(name);
    if (first == std::string::npos) return said;
    return said.append(" ").append(value.substr(first, value.find_last_not_of(' ') + 1 - first));
}

}  // namespace brivana::spoken
