#pragma once
// The dialogs of the running program: QMessageBox and QInputDialog, in the language of the
// translations the application has loaded.

#include "window_protocol/dialogs.h"

namespace brivana::window {

class QtDialogs final : public Dialogs {
public:
    // The owner is the window's QWidget, or null.
    MsgAnswer messageBox(DialogOwner owner, const std::string& text, int style, const std::string& title) override;
    std::string inputBox(DialogOwner owner, const std::string& prompt, const std::string& title) override;
};

}  // namespace brivana::window
