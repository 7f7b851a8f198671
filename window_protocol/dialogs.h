#pragma once
// The modal dialogs a window shows for the game: message boxes and the name prompt. Texts are
// UTF-8, as the game speaks them. Each window has its toolkit's own; the tests script them.

#include <string>
#include <string_view>

#include "game/game_view.h"
#include "game/keeper_requests.h"

namespace brivana {

// The window a dialog belongs to, as its toolkit names it (a QWidget*, an HWND). The owner is
// disabled while the dialog is open.
using DialogOwner = void*;

// The answer of a message box closed with Esc (or its frame's close button): the question
// "Sì/No" is answered No, the safe answer; any other box is simply closed.
constexpr MsgAnswer EscapeAnswer(int style)
{
    return style == MsgStyle::yesNoQuestionDefaultNo ? MsgAnswer::no : MsgAnswer::ok;
}

// The name prompt says this below its question once the typed name reaches its longest, and
// takes no more characters.
inline constexpr std::string_view kNameLimitNotice = "Il nome può avere al massimo 255 caratteri.";
static_assert(kHolderNameMaxLength == 255, "the notice names the longest name");
constexpr bool NameLimitReached(std::size_t typedCharacters) { return typedCharacters >= kHolderNameMaxLength; }

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // style is a MsgStyle value; the title is never empty here.
    virtual MsgAnswer messageBox(DialogOwner owner, const std::string& text, int style, const std::string& title) = 0;
    // Returns the typed text, or an empty text when the player cancels.
    virtual std::string inputBox(DialogOwner owner, const std::string& prompt, const std::string& title) = 0;
};

}  // namespace brivana
