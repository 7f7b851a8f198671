#pragma once
// The window's protocol: every step the Qt and the Win32 window take in the same order, once.
// It owns the game and is the game's view; it drives the window through its WindowPort:
// load, show and activate; the rebuild after a new game, deferred until no menu or dialog is
// open; the titles of the dialogs; the controls built behind the name prompt; the first
// focus and every later focus move, and where the focus goes back after a menu, a dialog or
// another program; what each key does (key_rules.h) and the characters the answer box takes.
// A window builds its controls, hands every event to game() or to this, and draws.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "game/game.h"
#include "window_protocol/key_rules.h"
#include "window_protocol/dialogs.h"
#include "window_protocol/window_port.h"

namespace brivana {

class WindowProtocol final : public GameView {
public:
    WindowProtocol(WindowPort& port, Dialogs& dialogs, Services services);
    WindowProtocol(const WindowProtocol&) = delete;
    WindowProtocol& operator=(const WindowProtocol&) = delete;

    Game& game() { return game_; }
    const Game& game() const { return game_; }
    // Whether the game has ended the program.
    bool ended() const { return ended_; }
    bool controlsBuilt() const { return built_; }
    bool rebuildPending() const { return rebuildPending_; }
    bool dialogOpen() const { return openDialogs_ > 0; }

    // Loads the first game, shows the window and poses the first question.
    void start();
    // The name prompt's first frame is on screen: at the first start the controls are built
    // now, behind it, while the pupil types.
    void promptOnScreen();
    // The credits entry of the menu; its index within its group is not used.
    void copy_Click(std::int16_t index);
    // A menu of the menu bar is about to show its drop-down: "NUOVO GIOCO" closes it and asks
    // for a new game, once no menu is open; declined, the focus goes back where it was. The
    // keys the pupil types next reach the game, never a menu left open.
    void menuOpened(std::string_view menu);
    // A menu entry was chosen, by design name.
    void menuEntryChosen(std::string_view entry);
    // A click on a control, by design name: the buttons' handlers run; the rest do nothing.
    void click(std::string_view control);
    // A key as the window reports it, with the control that has the focus (empty for none of
    // them): false when the focused control is to handle it as its toolkit does.
    bool pressKey(keys::Press press, std::string_view focused);

    // Every focus move, the game's and the window's own, goes through here: what a control
    // must hold before the focus reaches it is set in this one place.
    void moveFocus(std::string_view control);
    // Tab (step 1) or Shift+Tab (step -1) from the focused control (empty for none): the next
    // control in tab order that can take the focus gets it.
    void tab(std::string_view focused, int step);
    // Where the focus is now, as the window sees it (a control the pupil clicked, the focus
    // when the window is left): that is where it goes back.
    void focusSeen(std::string_view control);
    // The window is active again, or its menu has closed: the focus goes back to where it was
    // last, or, when that control cannot take it now, to the first in tab order that can.
    void regainFocus();

    // A screen reader says the time left now, wherever the focus is in the window.
    void sayTimeLeft();

    // One character typed into the answer box, through the game's key filter: false when the
    // box must not get it; otherwise the box gets `character`, which the filter may replace.
    // Enter (13) evaluates the answer and never reaches the box.
    bool typeCharacter(char32_t& character);
    // One pasted (or dropped) character: as a typed one, except that control characters are
    // no typing here, so a paste never evaluates the answer nor erases.
    bool pasteCharacter(char32_t& character);

    std::string text(Field field) const override;
    void setText(Field field, const std::string& text) override;
    void setNextEnabled(bool enabled) override;
    void focusNext() override;
    void focusAnswer() override;
    void setTimerEnabled(bool enabled) override;
    MsgAnswer messageBox(const std::string& text, int style, const std::string& title = {}) override;
    std::string inputBox(const std::string& prompt, const std::string& title) override;
    void paintBackground(std::int16_t p, std::int16_t q) override;
    void setCaption(const std::string& caption) override;
    void endProgram() override;
    void reload() override;

private:
    // Form_Load, then show, then Form_Activate; each only while the game goes on.
    void loadAndShow();
    void rebuild();
    // The question of "NUOVO GIOCO", put off while a menu's loop still runs.
    void askNewGame();
    void buildControls();
    // What a screen reader says of a control, handed to the window only when it changes.
    void setSpokenText(std::string_view control, const std::string& text);
    // The answer box is emptied once it has the focus: emptied before, the screen reader would
    // take its change for the focus move and say nothing of the move.
    void clearAnswerAfterFocus();
    // A label's value, as its name for a screen reader.
    void describeLabel(Field field);

    WindowPort& port_;
    Dialogs& dialogs_;
    Game game_;
    int openDialogs_ = 0;
    bool built_ = false;
    bool ended_ = false;
    bool rebuildPending_ = false;
    // What each control says of itself, as the window was last told.
    std::map<std::string, std::string, std::less<>> spoken_;
    // The game has emptied the answer box; the box shows it once it has the focus.
    bool answerClearPending_ = false;
    // The control the focus was last given or seen on.
    std::string focusWanted_;
};

}  // namespace brivana
