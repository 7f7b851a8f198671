#include "window/qt_dialogs.h"

#include <QGridLayout>
#include <QInputDialog>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <algorithm>

#include "game/keeper_requests.h"
#include "layout/dialog_width.h"
#include "layout/line_breaks.h"

namespace brivana::window {

namespace {

// Window managers cut a title that does not fit beside their buttons: room for the whole title
// with its icon and buttons.
int TitleBarWidth(const QWidget& dialog, const QString& title)
{
    const QStyle& style = *dialog.style();
    return layout::TitleFrameWidth(dialog.fontMetrics().horizontalAdvance(title),
                                   style.pixelMetric(QStyle::PM_TitleBarHeight), style.pixelMetric(QStyle::PM_DefaultFrameWidth),
                                   dialog.logicalDpiX() / 96.0);
}

// The name prompt also takes a long name without scrolling.
int PromptWidth(const QWidget& dialog, const QString& title)
{
    const int longName = dialog.fontMetrics().horizontalAdvance(QLatin1Char('M')) * 30;
    return std::max(TitleBarWidth(dialog, title), longName);
}

// The text broken into lines no wider than a message box's text may be, a long word (a long
// name) inside the word: Qt would cut it off at the box's edge.
QString BrokenLines(const QMessageBox& box, const QString& text)
{
    const QScreen* screen = box.screen();
    const int work = screen ? screen->availableGeometry().width() : 1024;
    // The icon and the margins beside the text.
    const int icon = box.iconPixmap().isNull() ? 0 : box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box);
    const QLayout* grid = box.layout();
    const int margins =
        grid ? grid->contentsMargins().left() + grid->contentsMargins().right() + 2 * std::max(0, grid->spacing()) : 0;
    const int width = layout::WidestMessageText(work, box.logicalDpiX() / 96.0) - icon - margins;
    const QFontMetrics metrics(box.font());
    const std::u32string lines = layout::BrokenLines(text.toStdU32String(), width, [&](std::u32string_view piece) {
        return metrics.horizontalAdvance(QString::fromUcs4(piece.data(), static_cast<qsizetype>(piece.size())));
    });
    return QString::fromStdU32String(lines);
}

}  // namespace

MsgAnswer QtDialogs::messageBox(DialogOwner owner, const std::string& text, int style, const std::string& utf8Title)
{
    const QString title = QString::fromStdString(utf8Title);
    QMessageBox box(static_cast<QWidget*>(owner));
    box.setWindowTitle(title);
    box.setTextFormat(Qt::PlainText);
    switch (style) {
    case MsgStyle::yesNoQuestionDefaultNo:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(EscapeAnswer(style) == MsgAnswer::no ? QMessageBox::No : QMessageBox::Yes);
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
    box.setText(BrokenLines(box, QString::fromStdString(text)));
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
    const QString question = QString::fromStdString(prompt);
    dialog.setLabelText(question);
    dialog.setTextValue(QString());
    // The dialog's own layout sets its size from the contents: the name's box carries the width.
    if (auto* name = dialog.findChild<QLineEdit*>()) {
        name->setMaxLength(static_cast<int>(kHolderNameMaxLength));  // where a record's name stops
        const QMargins margins = dialog.layout() ? dialog.layout()->contentsMargins() : QMargins();
        name->setMinimumWidth(PromptWidth(dialog, title) - margins.left() - margins.right());
        // Once the name reaches its longest, the prompt says so.
        QObject::connect(name, &QLineEdit::textChanged, &dialog, [&dialog, question](const QString& typed) {
            const bool reached = NameLimitReached(static_cast<std::size_t>(typed.size()));
            dialog.setLabelText(reached ? question + QLatin1Char('\n') + QString::fromUtf8(kNameLimitNotice.data(),
                                                                                        static_cast<qsizetype>(kNameLimitNotice.size()))
                                        : question);
        });
    }
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.textValue().toStdString();
}

}  // namespace brivana::window
