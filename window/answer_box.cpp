#include "window/answer_box.h"

#include <QKeyEvent>

namespace brivana::window {

namespace {

constexpr std::int16_t kBackspace = 8;
constexpr std::int16_t kEnter = 13;
// A character outside the single-byte set: no answer can use it.
constexpr std::int16_t kUnmappable = '?';

}  // namespace

AnswerBox::AnswerBox(QWidget* parent) : QLineEdit(parent) {}

QList<std::int16_t> AnswerBox::Characters(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    // Alt with a key is an access key or a menu, never a typed character.
    if (modifiers & Qt::AltModifier) return {};
    if (event.key() == Qt::Key_Backspace) return {kBackspace};
    // Control with a letter types a control character: Ctrl+V is 22, Ctrl+C is 3.
    if ((modifiers & Qt::ControlModifier) && event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z)
        return {static_cast<std::int16_t>(event.key() - Qt::Key_A + 1)};

    QList<std::int16_t> characters;
    for (const QChar c : event.text())
        characters.append(c.unicode() < 256 ? static_cast<std::int16_t>(c.unicode()) : kUnmappable);
    return characters;
}

void AnswerBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        if (defaultButton_ && defaultButton_->isEnabled()) {
            defaultButton_->click();
            return;
        }
        std::int16_t key = kEnter;
        if (filter_) filter_(key);
        return;
    }

    const QList<std::int16_t> characters = Characters(*event);
    if (characters.isEmpty()) {
        if (event->modifiers() & Qt::AltModifier)
            event->ignore();
        else
            QLineEdit::keyPressEvent(event);
        return;
    }

    QString kept;
    bool changed = false;
    for (std::int16_t original : characters) {
        std::int16_t key = original;
        if (filter_) filter_(key);
        changed = changed || key != original;
        if (key != 0) kept.append(QChar(static_cast<char16_t>(static_cast<std::uint8_t>(key))));
    }
    if (!changed) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!kept.isEmpty()) insert(kept);
}

}  // namespace brivana::window
