#pragma once
// The modal dialogs a window shows for the game: message boxes and the name prompt. Texts are
// UTF-8, as the game speaks them. Each window has its toolkit's own; the tests script them.

#include <string>

#include "game/game_view.h"

namespace brivana {

// The window a dialog belongs to, as its toolkit names it (a QWidget*, an HWND). The owner is
// disabled while the dialog is open.
using DialogOwner = void*;

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // style is a MsgStyle value; the title is never empty here.
    virtual MsgAnswer messageBox(DialogOwner owner, const std::string& text, int style, const std::string& title) = 0;
    // Returns the typed text, or an empty text when the player cancels.
    virtual std::string inputBox(DialogOwner owner, const std::string& prompt, const std::string& title) = 0;
};

}  // namespace brivana
