#pragma once
// Dialogs answered the moment they are asked: a name for the prompt, OK or No otherwise.
// Nothing is shown, so the timings hold only the game's and the window's own work.

#include "window/dialogs.h"

namespace brivana::bench {

class InstantDialogs final : public window::Dialogs {
public:
    MsgAnswer messageBox(QWidget* parent, const QString& text, int style, const QString& title) override;
    QString inputBox(QWidget* parent, const QString& prompt, const QString& title) override;

    int shown() const { return shown_; }

private:
    int shown_ = 0;
};

}  // namespace brivana::bench
