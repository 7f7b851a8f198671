#include "window/answer_box.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

#include "game/answer_keys.h"

namespace brivana::window {

namespace {

// A character outside the single-byte set: no answer can use it.
constexpr std::int16_t kUnmappable = '?';

// The typed characters of a text, in the single-byte character set; the others (Delete)
// keep their editing role and never reach the filter.
QList<std::int16_t> TypedCharacters(const QString& text)
{
    QList<std::int16_t> characters;
    for (const QChar c : text) {
        if (!keys::GoesThroughKeyFilter(c.unicode())) continue;
        characters.append(c.unicode() < 256 ? static_cast<std::int16_t>(c.unicode()) : kUnmappable);
    }
    return characters;
}

}  // namespace

AnswerBox::AnswerBox(QWidget* parent) : QLineEdit(parent) {}

QList<std::int16_t> AnswerBox::Characters(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    // Alt with a key is an access key or a menu, never a typed character.
    if (modifiers & Qt::AltModifier) return {};
    if (event.key() == Qt::Key_Backspace) return {keys::kBackspace};
    // Control with a letter types a control character: Ctrl+V is 22, Ctrl+C is 3.
    if ((modifiers & Qt::ControlModifier) && event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z)
        return {static_cast<std::int16_t>(event.key() - Qt::Key_A + 1)};
    return TypedCharacters(event.text());
}

QString AnswerBox::filtered(const QList<std::int16_t>& characters, bool& changed)
{
    QString kept;
    changed = false;
    for (std::int16_t original : characters) {
        std::int16_t key = original;
        if (filter_) filter_(key);
        changed = changed || key != original;
        if (key != 0) kept.append(QChar(static_cast<char16_t>(static_cast<std::uint8_t>(key))));
    }
    return kept;
}

void AnswerBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        const bool nextEnabled = defaultButton_ && defaultButton_->isEnabled();
        if (keys::WhereEnterGoes(nextEnabled) == keys::EnterGoesTo::nextButton) {
            defaultButton_->click();
            return;
        }
        std::int16_t key = keys::kEnter;
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

    bool changed = false;
    const QString kept = filtered(characters, changed);
    if (!changed) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!kept.isEmpty()) insert(kept);
}

void AnswerBox::inputMethodEvent(QInputMethodEvent* event)
{
    // Composed text (a dead key and a letter, an input method's) is typed text too: it goes
    // through the same filter, and nothing half-composed shows in the box meanwhile.
    bool changed = false;
    const QString kept = filtered(TypedCharacters(event->commitString()), changed);
    QInputMethodEvent passed;
    passed.setCommitString(kept, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&passed);
    event->accept();
}

}  // namespace brivana::window
