#pragma once
// A GameView that records every call in order, with scripted answers for the dialogs.

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "game/game_view.h"

namespace brivana::testing {

struct Dialog {
    std::string kind;  // "message" or "input"
    std::string text;  // message text, or input prompt
    int style = 0;
    std::string title;
};

class FakeView final : public GameView {
public:
    FakeView() { resetToDesignTime(); }

    // The texts every field has when the window is loaded.
    void resetToDesignTime();

    std::string text(Field field) const override { return fields_.at(field); }
    void setText(Field field, const std::string& text) override;
    void setNextEnabled(bool enabled) override;
    void focusNext() override;
    void focusAnswer() override;
    void setTimerEnabled(bool enabled) override;
    MsgAnswer messageBox(const std::string& text, int style, const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title) override;
    void paintBackground(std::int16_t p, std::int16_t q) override;
    void setCaption(const std::string& caption) override;
    void endProgram() override;
    void reload() override;

    // Every call, e.g. "setText lblMessage=Esatto. Sei proprio in gamba!", "nextEnabled 1".
    std::vector<std::string> calls;
    std::vector<Dialog> dialogs;
    std::vector<std::string> messages() const;

    // Scripted answers; an unscripted message box answers OK (No for Yes/No), an input box "".
    std::deque<MsgAnswer> messageAnswers;
    std::deque<std::string> inputAnswers;
    // Runs while a message box is open, as the timer can while a modal dialog waits.
    std::function<void(const Dialog&)> whileMessageOpen;
    // Runs when the game asks for a reload, after the fields are back to design time.
    std::function<void()> onReload;

    bool nextEnabled = false;
    bool timerEnabled = true;
    std::string focus;
    std::string caption;
    int programEnds = 0;
    int reloads = 0;
    int paints = 0;
    std::int16_t paintedP = 0;
    std::int16_t paintedQ = 0;

private:
    std::map<Field, std::string> fields_;
};

}  // namespace brivana::testing
