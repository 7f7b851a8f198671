#pragma once
// Dialogs for the Win32 window that answer from a script instead of waiting for a player, and
// remember every dialog shown. A step may run an action while its dialog is "open", as a
// timer tick would.

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "win32/dialogs.h"

namespace brivana::test {

struct ShownDialog {
    bool input = false;
    std::string text;  // the prompt of an input box
    int style = 0;
    std::string title;
};

class ScriptedDialogs final : public win32::Dialogs {
public:
    using Action = std::function<void()>;

    void answerInput(const std::string& typed, Action whileOpen = {});
    void answerMessage(MsgAnswer answer = MsgAnswer::ok, Action whileOpen = {});

    MsgAnswer messageBox(HWND owner, const std::string& text, int style, const std::string& title) override;
    std::string inputBox(HWND owner, const std::string& prompt, const std::string& title) override;

    const std::vector<ShownDialog>& shown() const { return shown_; }
    // The texts of the message boxes shown so far.
    std::vector<std::string> messages() const;
    // Dialogs that came when the script expected another kind, or nothing at all.
    const std::vector<std::string>& surprises() const { return surprises_; }
    bool scriptDone() const { return steps_.empty(); }

private:
    struct Step {
        bool input;
        MsgAnswer answer;
        std::string typed;
        Action whileOpen;
    };
    bool takeStep(bool input, const std::string& text, Step& step);

    std::deque<Step> steps_;
    std::vector<ShownDialog> shown_;
    std::vector<std::string> surprises_;
};

}  // namespace brivana::test
