#include "game/text_rules.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace brivana {

std::string IntegerText(long long value, std::string_view pattern)
{
    const bool negative = value < 0;
    // Work on the unsigned magnitude so that the smallest long long has a text too.
    unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(value)
                                            : static_cast<unsigned long long>(value);
    std::string digits = std::to_string(magnitude);
    if (pattern == "00" && digits.size() < 2) digits.insert(0, 2 - digits.size(), '0');
    return negative ? "-" + digits : digits;
}

std::string NumberText(float value, std::string_view pattern)
{
    const float rounded = std::nearbyint(value);
    // Out of range of long long (or not a number) the conversion would be undefined.
    if (!(std::fabs(rounded) < 9.2e18f)) return std::isnan(rounded) ? "0" : rounded < 0 ? "-inf" : "inf";
    return IntegerText(static_cast<long long>(rounded), pattern);
}

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

double LeadingNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;

    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }

    // Collect the longest prefix that reads as digits, fraction and exponent.
    const std::size_t start = i;
    bool anyDigit = false;
    while (i < text.size() && isDigit(text[i])) { ++i; anyDigit = true; }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) { ++i; anyDigit = true; }
    }
    if (!anyDigit) return 0.0;

    std::size_t end = i;
    bool negativeExponent = false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '-' || text[j] == '+')) {
            negativeExponent = text[j] == '-';
            ++j;
        }
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) ++j;
            end = j;
        }
    }

    const std::string_view number = text.substr(start, end - start);
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value,
                                           std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Too large for a double, or too small to be anything but zero.
        const bool tiny = negativeExponent || number.find_first_not_of("0.") == std::string_view::npos;
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    } else if (ec != std::errc{}) {
        value = 0.0;
    }
    (void)ptr;
    return negative ? -value : value;
}

std::optional<long long> StrictNumber(std::string_view text)
{
    std::size_t i = 0;
    if (!text.empty() && text[0] == '-') i = 1;
    if (i == text.size()) return std::nullopt;
    long long value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<std::int16_t> AnswerValue(std::string_view text)
{
    const double value = std::nearbyint(LeadingNumber(text));  // halves to even
    if (!std::isfinite(value) || value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(value);
}

std::int16_t IncrementTally(std::int16_t tally)
{
    return tally < std::numeric_limits<std::int16_t>::max() ? static_cast<std::int16_t>(tally + 1)
                                                            : tally;
}

}  // namespace brivana
