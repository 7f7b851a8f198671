#pragma once
// The dialogs of the running program: QMessageBox and QInputDialog, in the language of the
// translations the application has loaded.

#include "window/dialogs.h"

namespace brivana::window {

class QtDialogs final : public Dialogs {
public:
    MsgAnswer messageBox(QWidget* parent, const QString& text, int style, const QString& title) override;
    QString inputBox(QWidget* parent, const QString& prompt, const QString& title) override;
};

}  // namespace brivana::window
