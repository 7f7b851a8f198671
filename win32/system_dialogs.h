#pragma once
// The dialogs of the running program, in Italian whatever the language of Windows: the
// system's message box with its buttons renamed "OK", "Sì", "No" (S and N their access keys),
// and our own name prompt (OK / Annulla; Enter accepts, Esc cancels). Each is wide enough for
// its whole title; a message box no wider than its screen allows, its text wrapped.

#include <windows.h>

#include "window_protocol/dialogs.h"

namespace brivana::win32 {

class SystemDialogs final : public Dialogs {
public:
    // The owner is the window's HWND, or null.
    MsgAnswer messageBox(DialogOwner owner, const std::string& text, int style, const std::string& title) override;
    std::string inputBox(DialogOwner owner, const std::string& prompt, const std::string& title) override;
};

}  // namespace brivana::win32
