#pragma once
// The answer box. Every typed character goes through the game's key filter before the box
// receives it, Ctrl+V and composed characters included however the platform reports them;
// Delete, the arrows, Home and End edit as usual, and pasting from the context menu or with
// Shift+Insert stays possible. Enter clicks the window's default button while it is
// enabled, and otherwise reaches the filter as character 13.

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <cstdint>
#include <functional>

namespace brivana::window {

class AnswerBox final : public QLineEdit {
    Q_OBJECT
public:
    // Sets keyAscii to 0 to discard the character, or to another character to replace it.
    using KeyFilter = std::function<void(std::int16_t& keyAscii)>;

    explicit AnswerBox(QWidget* parent);

    void setKeyFilter(KeyFilter filter) { filter_ = std::move(filter); }
    void setDefaultButton(QPushButton* button) { defaultButton_ = button; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    // The characters the key stands for, in the single-byte character set; empty for a key
    // that types nothing (arrows, Delete, Shift+Insert...).
    static QList<std::int16_t> Characters(const QKeyEvent& event);
    // What the filter keeps of the characters, and whether it changed any.
    QString filtered(const QList<std::int16_t>& characters, bool& changed);

    KeyFilter filter_;
    QPointer<QPushButton> defaultButton_;
};

}  // namespace brivana::window
