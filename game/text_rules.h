#pragma once
// The conversions between numbers and texts that every rule of the game uses.

#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brivana {

// Decimal text of value. Patterns "#0", "###0" and "####0": no padding, "-" before a
// negative value, "0" for zero. Pattern "00": at least two digits, zero-padded on the left.
std::string IntegerText(long long value, std::string_view pattern);
template <std::integral T>
std::string NumberText(T value, std::string_view pattern)
{
    return IntegerText(static_cast<long long>(value), pattern);
}
// A float is first rounded to the nearest integer (halves to even).
std::string NumberText(float value, std::string_view pattern);

// The decimal number at the start of text: blanks skipped, then an optional sign, digits, an
// optional fraction and exponent; 0 when no digit is found. Huge exponents give +-infinity.
double LeadingNumber(std::string_view text);

// The value of a text that is wholly an integer ("12", "-3"); nothing otherwise.
std::optional<long long> StrictNumber(std::string_view text);

// The typed answer as a 16-bit integer: LeadingNumber rounded to the nearest integer, halves
// to even. Nothing when the value does not fit in 16 bits (such an answer is simply wrong).
std::optional<std::int16_t> AnswerValue(std::string_view text);

// Adds one to a tally, stopping at the largest 16-bit value instead of overflowing.
std::int16_t IncrementTally(std::int16_t tally);

}  // namespace brivana
