#include "window/qt_dialogs.h"

#include <QGridLayout>
#include <QInputDialog>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>

namespace brivana::window {

namespace {

// Window managers cut a title that does not fit beside their buttons: room for the whole title
// in a bold title-bar font, with its icon and buttons.
int TitleBarWidth(const QWidget& dialog, const QString& title)
{
    QFont titleFont = dialog.font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.2);
    return QFontMetrics(titleFont).horizontalAdvance(title) + 160;
}

// The name prompt also takes a long name without scrolling.
int PromptWidth(const QWidget& dialog, const QString& title)
{
    const int longName = dialog.fontMetrics().horizontalAdvance(QLatin1Char('M')) * 30;
    return std::max(TitleBarWidth(dialog, title), longName);
}

// The text with a zero-width space after each character of a word too long for a line, where
// Qt may break it: the box keeps to the width Qt allows, and a long name wraps instead of being
// cut off.
QString Breakable(const QString& text)
{
    constexpr int longestWhole = 24;
    QString breakable;
    int run = 0;
    for (const QChar c : text) {
        breakable += c;
        run = c.isSpace() ? 0 : run + 1;
        if (run >= longestWhole && !c.isHighSurrogate()) breakable += QChar(0x200B);
    }
    return breakable;
}

}  // namespace

MsgAnswer QtDialogs::messageBox(DialogOwner owner, const std::string& text, int style, const std::string& utf8Title)
{
    const QString title = QString::fromStdString(utf8Title);
    QMessageBox box(static_cast<QWidget*>(owner));
    box.setWindowTitle(title);
    box.setText(Breakable(QString::fromStdString(text)));
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
    // A message box sizes itself from its text: a spacer across its grid carries the title's width.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(TitleBarWidth(box, title), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    const int pressed = box.exec();
    if (style != MsgStyle::yesNoQuestionDefaultNo) return MsgAnswer::ok;
    // Closing the question any other way counts as No, the safe answer.
    return pressed == QMessageBox::Yes ? MsgAnswer::yes : MsgAnswer::no;
}

std::string QtDialogs::inputBox(DialogOwner owner, const std::string& prompt, const std::string& utf8Title)
{
    const QString title = QString::fromStdString(utf8Title);
    QInputDialog dialog(static_cast<QWidget*>(owner));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(title);
    dialog.setLabelText(QString::fromStdString(prompt));
    dialog.setTextValue(QString());
    // The dialog's own layout sets its size from the contents: the name's box carries the width.
    if (auto* name = dialog.findChild<QLineEdit*>()) {
        const QMargins margins = dialog.layout() ? dialog.layout()->contentsMargins() : QMargins();
        name->setMinimumWidth(PromptWidth(dialog, title) - margins.left() - margins.right());
    }
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.textValue().toStdString();
}

}  // namespace brivana::window
