#pragma once
// What a window does with its toolkit when the window's protocol (WindowProtocol) asks: the
// controls, showing and hiding, the caption, the timer, deferred calls and the state of its
// event loop. The Qt and the Win32 window implement it; every step they take in the same
// order is the protocol's, not theirs.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "game/game_view.h"
#include "window_protocol/dialogs.h"

namespace brivana {

class WindowPort {
public:
    virtual ~WindowPort() = default;

    // Creates every control and menu item afresh from the design tables, with its design-time
    // values, in place of the previous ones; the background is black until it is painted.
    virtual void buildControls() = 0;
    // Shows the window and brings it to the front; hides it.
    virtual void showWindow() = 0;
    virtual void hideWindow() = 0;
    virtual bool minimised() const = 0;
    virtual void setCaption(const std::string& caption) = 0;
    // Starts the one-second timer (it keeps running if it runs already) or stops it.
    virtual void setTimerRunning(bool running) = 0;

    // Runs call once the handler running now has returned to the event loop, and at least
    // delayMs later. The protocol has at most one call waiting.
    virtual void post(std::function<void()> call, int delayMs) = 0;
    // Whether a loop of a menu or a dialog runs now, with the window's handlers still on the
    // stack beneath it.
    virtual bool nestedLoopRunning() const = 0;
    // Closes a drop-down menu that is open.
    virtual void closeMenus() = 0;

    // The controls the game changes, by field or by design name.
    virtual std::string text(Field field) const = 0;
    virtual void setText(Field field, const std::string& text) = 0;
    virtual void enableControl(std::string_view control, bool enabled) = 0;
    virtual void focusControl(std::string_view control) = 0;
    // The answer box loses the characters before its caret.
    virtual void eraseAnswerBeforeCaret() = 0;
    // What a screen reader says of a control. A control that takes the focus says it after its
    // name, each time it takes the focus, and at once when it changes while it has the focus; a
    // label gives it as its name, for a screen reader's review of the window.
    virtual void setSpokenText(std::string_view control, const std::string& text) = 0;
    // A screen reader says words now, wherever the focus is, and the focus stays there.
    virtual void announce(const std::string& words) = 0;
    // Whether the control can take the focus now: shown and enabled.
    virtual bool canFocus(std::string_view control) const = 0;
    virtual void paintBackground(std::int16_t p, std::int16_t q) = 0;
    virtual DialogOwner dialogOwner() = 0;

    // A game's window is shown and its first question posed, at start and after a new game.
    virtual void loaded() = 0;
    // The game has ended the program: the window is hidden, the program is to stop now.
    virtual void ended() = 0;
};

}  // namespace brivana
