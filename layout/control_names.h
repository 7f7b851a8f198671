#pragma once
// The design names of the controls and menus that the windows and the protocol refer to by
// name: written once here, read by both windows.

#include <string_view>

namespace brivana::layout::names {

inline constexpr std::string_view kAnswer = "txtAnswer";
inline constexpr std::string_view kNext = "cmdNext";
inline constexpr std::string_view kExit = "cmdExit";
inline constexpr std::string_view kInertButton = "Command1";
inline constexpr std::string_view kSecondFactor = "lblNum2";
inline constexpr std::string_view kClosingBracket = "Label7";
// The menu whose opening asks for a new game, and the entry that shows the credits.
inline constexpr std::string_view kNewGameMenu = "Next";
inline constexpr std::string_view kCreditsEntry = "copy";

}  // namespace brivana::layout::names
