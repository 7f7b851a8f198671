#pragma once
// The window's own titles: the application's (a message box's title when the game gives
// none, the credits' first word) and the caption the window has while a game loads.

#include <string_view>

namespace brivana::layout {

inline constexpr std::string_view kApplicationTitle = "Brivana";
inline constexpr std::string_view kLoadCaption = " Giochiamo con il prodotto di numeri relativi";

}  // namespace brivana::layout
