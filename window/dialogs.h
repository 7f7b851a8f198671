#pragma once
// The modal dialogs the window shows for the game: message boxes and the input box.
// The program uses Qt's own; the tests script them.

#include <QString>

#include "game/game_view.h"

class QWidget;

namespace brivana::window {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // style is a MsgStyle value; the title is never empty here.
    virtual MsgAnswer messageBox(QWidget* parent, const QString& text, int style, const QString& title) = 0;
    // Returns the typed text, or an empty text when the player cancels.
    virtual QString inputBox(QWidget* parent, const QString& prompt, const QString& title) = 0;
};

}  // namespace brivana::window
