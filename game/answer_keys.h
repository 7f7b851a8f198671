#pragma once
// The answer box's keys as the game's rules see them, for both windows: the character codes
// the key filter knows and which characters a window hands to it.

#include <cstdint>

namespace brivana::keys {

inline constexpr std::int16_t kBackspace = 8;
inline constexpr std::int16_t kEnter = 13;
inline constexpr std::int16_t kMinus = '-';
// Some platforms report the Delete key as this character as well as a key.
inline constexpr char32_t kDelete = 127;

// A character outside the single-byte set stands for this one: no answer can use it.
inline constexpr std::int16_t kUnmappable = '?';
// The key code of a typed character.
constexpr std::int16_t KeyCode(char32_t character)
{
    return character < 256 ? static_cast<std::int16_t>(character) : kUnmappable;
}

// Whether a character that a key or an input method produced is typed into the answer box,
// and so goes through txtAnswer_KeyPress first. Delete keeps its editing role, as do the
// arrows, Home and End, which produce no character at all.
constexpr bool GoesThroughKeyFilter(char32_t character) { return character != kDelete; }

}  // namespace brivana::keys
