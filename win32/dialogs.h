#pragma once
// The modal dialogs the Win32 window shows for the game: message boxes and the name prompt.
// Texts are UTF-8, as the game speaks them. The program uses SystemDialogs; the tests script them.

#include <windows.h>

#include <string>

#include "game/game_view.h"

namespace brivana::win32 {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // style is a MsgStyle value; the title is never empty here. The owner is disabled while
    // the dialog is open.
    virtual MsgAnswer messageBox(HWND owner, const std::string& text, int style, const std::string& title) = 0;
    // Returns the typed text, or an empty text when the player cancels.
    virtual std::string inputBox(HWND owner, const std::string& prompt, const std::string& title) = 0;
};

}  // namespace brivana::win32
