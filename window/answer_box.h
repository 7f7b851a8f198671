#pragma once
// The answer box. Every typed character goes through the game's key filter before the box
// receives it, Ctrl+V and composed characters included however the platform reports them;
// Delete, the arrows, Home and End edit as usual. Pasted text (Shift+Insert, the context
// menu, a drop or the X11 selection) goes through the paste filter one character at a time.
// Enter, Ctrl+Enter and Ctrl+Backspace are the window's protocol's, which takes them first.

#include <QLineEdit>
#include <functional>

namespace brivana::window {

class AnswerBox final : public QLineEdit {
    Q_OBJECT
public:
    // False when the box must not get the character; otherwise the box gets `character`.
    using Filter = std::function<bool(char32_t& character)>;

    explicit AnswerBox(QWidget* parent);

    void setFilters(Filter typed, Filter pasted);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // The characters the key stands for; empty for a key that types nothing (arrows,
    // Delete, Shift+Insert...).
    static QList<char32_t> Characters(const QKeyEvent& event);
    // What the filter keeps of the characters, and whether it changed any.
    static QString Filtered(const QList<char32_t>& characters, const Filter& filter, bool& changed);
    void pasteFiltered();

    Filter typed_;
    Filter pasted_;
};

}  // namespace brivana::window
