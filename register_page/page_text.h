#pragma once
// Texts from the register made safe for the page and the spreadsheet, and the Italian words
// for dates, durations and endings they share.

#include <string>
#include <string_view>

#include "register_page/played_game.h"

namespace brivana::register_page {

// The text as valid UTF-8 without control characters: each broken byte or control character
// becomes U+FFFD, so whatever the register holds is shown as it is, never acted on.
std::string CleanText(std::string_view text);
// CleanText, with every character that means something to HTML written as an entity: the result
// is text wherever it goes in a page, in an element or in a quoted attribute.
std::string EscapeHtml(std::string_view text);

// "08/12/2026"
std::string DateText(const Moment& moment);
// "09:41"
std::string TimeText(const Moment& moment);
// "martedì 8 dicembre 2026"
std::string LongDateText(const Moment& moment);
// "12:05" for 725 seconds
std::string DurationText(int seconds);
// "tempo scaduto", "uscita con Esci", ...
std::string EndingText(GameEnding ending);

}  // namespace brivana::register_page
