#pragma once
// What the game logic needs from a window: named display fields, the few controls whose
// state it changes, modal dialogs and the window's own life. The window's protocol
// (window_protocol/) implements it for both windows; the tests implement it with a fake that
// records every call.

#include <cstdint>
#include <string>
#include <string_view>

namespace brivana {

// Display fields, named after the window's controls.
enum class Field {
    lblNum1,
    lblnum5,
    lblNum2,
    txtAnswer,
    lblMessage,
    lblScore,
    lblScore1,
    lblScore2,
    lblconto,
    lblnome1,
    lblnome,
    lblpunti,
};

// The control name of a field, as the window names its widgets.
std::string_view fieldName(Field field);

// Message box styles: the sum of a button set, an icon and a default button.
namespace MsgStyle {
inline constexpr int ok = 0;
inline constexpr int okExclamation = 48;
inline constexpr int yesNoQuestionDefaultNo = 292;  // 4 Yes/No + 32 question + 256 No as default
}  // namespace MsgStyle

// The button that closed a message box.
enum class MsgAnswer { ok = 1, yes = 6, no = 7 };

class GameView {
public:
    virtual ~GameView() = default;

    // Texts are UTF-8 and may hold CR LF line breaks.
    virtual std::string text(Field field) const = 0;
    virtual void setText(Field field, const std::string& text) = 0;

    virtual void setNextEnabled(bool enabled) = 0;
    virtual void focusNext() = 0;
    virtual void focusAnswer() = 0;
    virtual void setTimerEnabled(bool enabled) = 0;

    // Modal. An empty title means the application's title, "Brivana".
    virtual MsgAnswer messageBox(const std::string& text, int style, const std::string& title = {}) = 0;
    // Modal, with an empty default; cancelling gives an empty text.
    virtual std::string inputBox(const std::string& prompt, const std::string& title) = 0;

    // Paints the background gradient for the raw draws p (-11..0) and q (-20..0).
    virtual void paintBackground(std::int16_t p, std::int16_t q) = 0;
    virtual void setCaption(const std::string& caption) = 0;

    // Ends the program: no handler of the game runs after it.
    virtual void endProgram() = 0;
    // Unloads the window and shows it again: every control gets its design-time values,
    // then Form_Load runs, the window shows itself and Form_Activate runs.
    virtual void reload() = 0;
};

}  // namespace brivana
