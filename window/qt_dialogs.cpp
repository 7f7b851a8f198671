#include "window/qt_dialogs.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace brivana::window {

MsgAnswer QtDialogs::messageBox(QWidget* parent, const QString& text, int style, const QString& title)
{
    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    switch (style) {
    case MsgStyle::yesNoQuestionDefaultNo:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        break;
    case MsgStyle::okExclamation:
        box.setIcon(QMessageBox::Warning);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    default:
        box.setIcon(QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    const int pressed = box.exec();
    if (style != MsgStyle::yesNoQuestionDefaultNo) return MsgAnswer::ok;
    // Closing the question any other way counts as No, the safe answer.
    return pressed == QMessageBox::Yes ? MsgAnswer::yes : MsgAnswer::no;
}

QString QtDialogs::inputBox(QWidget* parent, const QString& prompt, const QString& title)
{
    QInputDialog dialog(parent);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(QString());
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.textValue();
}

}  // namespace brivana::window
