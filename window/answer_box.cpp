#include "window/answer_box.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QValidator>
#include <algorithm>

#include "game/answer_keys.h"

namespace brivana::window {

namespace {

QList<char32_t> CodePoints(const QString& text)
{
    QList<char32_t> characters;
    for (const char32_t c : text.toUcs4()) characters.append(c);
    return characters;
}

// The typed characters of a text; the others (Delete) keep their editing role and never
// reach the filter.
QList<char32_t> TypedCharacters(const QString& text)
{
    QList<char32_t> characters;
    for (const char32_t c : text.toUcs4())
        if (keys::GoesThroughKeyFilter(c)) characters.append(c);
    return characters;
}

// Whatever way text comes into the box besides typing and the paste of its own (a drop, the
// X11 selection), the box keeps only what the paste filter lets through.
class PasteValidator final : public QValidator {
public:
    PasteValidator(const AnswerBox::Filter& pasted, QObject* parent) : QValidator(parent), pasted_(pasted) {}

    State validate(QString& input, int& position) const override
    {
        QString kept;
        for (char32_t c : input.toUcs4())
            if (pasted_ && pasted_(c)) kept.append(QString::fromUcs4(&c, 1));
        if (kept != input) {
            input = kept;
            position = std::min(position, static_cast<int>(kept.size()));
        }
        return Acceptable;
    }

private:
    const AnswerBox::Filter& pasted_;
};

}  // namespace

AnswerBox::AnswerBox(QWidget* parent) : QLineEdit(parent) { setValidator(new PasteValidator(pasted_, this)); }

void AnswerBox::setFilters(Filter typed, Filter pasted)
{
    typed_ = std::move(typed);
    pasted_ = std::move(pasted);
}

QList<char32_t> AnswerBox::Characters(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    // Alt with a key is an access key or a menu, never a typed character.
    if (modifiers & Qt::AltModifier) return {};
    if (event.key() == Qt::Key_Backspace) return {static_cast<char32_t>(keys::kBackspace)};
    // Control with a letter types a control character: Ctrl+V is 22, Ctrl+C is 3.
    if ((modifiers & Qt::ControlModifier) && event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z)
        return {static_cast<char32_t>(event.key() - Qt::Key_A + 1)};
    return TypedCharacters(event.text());
}

QString AnswerBox::Filtered(const QList<char32_t>& characters, const Filter& filter, bool& changed)
{
    QString kept;
    changed = false;
    for (const char32_t original : characters) {
        char32_t character = original;
        const bool keep = filter && filter(character);
        changed = changed || !keep || character != original;
        if (keep) kept.append(QString::fromUcs4(&character, 1));
    }
    return kept;
}

void AnswerBox::pasteFiltered()
{
    bool changed = false;
    const QString kept = Filtered(CodePoints(QGuiApplication::clipboard()->text()), pasted_, changed);
    if (!kept.isEmpty()) insert(kept);
}

void AnswerBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Insert && event->modifiers() == Qt::ShiftModifier) {
        event->accept();
        pasteFiltered();
        return;
    }

    const QList<char32_t> characters = Characters(*event);
    if (characters.isEmpty()) {
        if (event->modifiers() & Qt::AltModifier)
            event->ignore();
        else
            QLineEdit::keyPressEvent(event);
        return;
    }

    bool changed = false;
    const QString kept = Filtered(characters, typed_, changed);
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
    const QString kept = Filtered(TypedCharacters(event->commitString()), typed_, changed);
    QInputMethodEvent passed;
    passed.setCommitString(kept, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&passed);
    event->accept();
}

void AnswerBox::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The menu's own paste would put the clipboard in unfiltered. Its entry is named as Qt
    // names it, in the loaded language, with its shortcut after a tab.
    const QString paste = QCoreApplication::translate("QLineEdit", "&Paste");
    for (QAction* entry : menu->actions()) {
        if (entry->text() != paste && !entry->text().startsWith(paste + QLatin1Char('\t'))) continue;
        disconnect(entry, &QAction::triggered, nullptr, nullptr);
        connect(entry, &QAction::triggered, this, &AnswerBox::pasteFiltered);
    }
    menu->popup(event->globalPos());
}

}  // namespace brivana::window
