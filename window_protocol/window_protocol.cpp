#include "window_protocol/window_protocol.h"

#include <algorithm>

#include "game/answer_keys.h"
#include "layout/control_names.h"
#include "layout/control_table.h"
#include "layout/menu_table.h"
#include "layout/titles.h"
#include "window_protocol/spoken_text.h"
#include "window_protocol/version.h"

namespace brivana {

namespace {

// The fields a label shows, each with its value for a screen reader.
constexpr Field kLabelFields[] = {Field::lblNum1,   Field::lblnum5,   Field::lblNum2,  Field::lblMessage,
                                  Field::lblScore,  Field::lblScore1, Field::lblScore2, Field::lblconto,
                                  Field::lblnome1,  Field::lblnome,   Field::lblpunti};

}  // namespace

WindowProtocol::WindowProtocol(WindowPort& port, Dialogs& dialogs, Services services)
    : port_(port), dialogs_(dialogs), game_(*this, services)
{
}

void WindowProtocol::start() { loadAndShow(); }

void WindowProtocol::loadAndShow()
{
    port_.setCaption(std::string(layout::kLoadCaption));
    port_.setTimerRunning(true);
    game_.Form_Load();
    if (ended_) return;
    port_.showWindow();
    if (ended_) return;
    game_.Form_Resize(port_.minimised());
    if (ended_) return;
    game_.Form_Activate();
    if (ended_) return;
    port_.loaded();
}

void WindowProtocol::reload()
{
    // This runs inside a menu's handler and after dialogs: the controls on the stack must
    // outlive it, so the rebuild waits for the event loop.
    if (rebuildPending_) return;
    rebuildPending_ = true;
    port_.closeMenus();
    port_.post([this] { rebuild(); }, 0);
}

void WindowProtocol::rebuild()
{
    // A menu or a dialog still open would run the rebuild under a handler of the old
    // controls. The drop-down opened by "NUOVO GIOCO" may have shown after all: close it.
    port_.closeMenus();
    if (openDialogs_ > 0 || port_.nestedLoopRunning()) {
        port_.post([this] { rebuild(); }, layout::kTimerIntervalMs / 10);
        return;
    }
    rebuildPending_ = false;
    if (ended_) return;
    port_.hideWindow();
    port_.setTimerRunning(false);
    buildControls();
    loadAndShow();
}

void WindowProtocol::buildControls()
{
    port_.buildControls();
    built_ = true;
    spoken_.clear();
    answerClearPending_ = false;
    for (const Field field : kLabelFields) describeLabel(field);
    // The first control in tab order has the focus when the window is shown.
    moveFocus(layout::kFirstFocus);
}

void WindowProtocol::promptOnScreen()
{
    if (!built_ && !ended_) buildControls();
}

void WindowProtocol::copy_Click(std::int16_t)
{
    messageBox(std::string(layout::kApplicationTitle) + " " + kVersion + "\n" + std::string(layout::CreditsText()),
               MsgStyle::ok);
}

void WindowProtocol::menuOpened(std::string_view menu)
{
    if (ended_ || menu != layout::names::kNewGameMenu) return;
    // The question is asked once the menu has closed: asked inside the menu's own loop, it
    // would leave the menu bar selected, and the keys the pupil types next would go to it.
    port_.closeMenus();
    port_.post([this] { askNewGame(); }, 0);
}

void WindowProtocol::askNewGame()
{
    port_.closeMenus();
    if (port_.nestedLoopRunning()) {
        port_.post([this] { askNewGame(); }, layout::kTimerIntervalMs / 10);
        return;
    }
    if (ended_) return;
    game_.Next_Click();
    // Declined: the keys go back where they were. A new game gives the focus on its own.
    regainFocus();
}

void WindowProtocol::menuEntryChosen(std::string_view entry)
{
    if (ended_) return;
    const auto items = layout::MenuItems();
    const auto found = std::ranges::find(items, entry, &layout::MenuSpec::name);
    if (found != items.end() && found->name == layout::names::kCreditsEntry) copy_Click(found->index);
}

void WindowProtocol::click(std::string_view control)
{
    if (ended_) return;
    if (control == layout::names::kNext)
        game_.cmdNext_Click();
    else if (control == layout::names::kExit)
        game_.cmdExit_Click();
}

bool WindowProtocol::pressKey(keys::Press press, std::string_view focused)
{
    if (ended_ || !built_) return false;
    const keys::Outcome outcome =
        keys::WhatKeyDoes(press, focused, [this](std::string_view control) { return port_.canFocus(control); });
    switch (outcome.does) {
    case keys::Does::passOn: return false;
    case keys::Does::nothing: break;
    case keys::Does::click: click(outcome.control); break;
    case keys::Does::evaluate: {
        char32_t enter = keys::kEnter;
        typeCharacter(enter);
        break;
    }
    case keys::Does::eraseBefore: port_.eraseAnswerBeforeCaret(); break;
    case keys::Does::sayTimeLeft: sayTimeLeft(); break;
    case keys::Does::tab: tab(focused, outcome.step); break;
    }
    return true;
}

void WindowProtocol::moveFocus(std::string_view control)
{
    focusWanted_ = control;
    port_.focusControl(control);
}

void WindowProtocol::focusSeen(std::string_view control)
{
    if (layout::FindControl(control)) focusWanted_ = control;
}

void WindowProtocol::regainFocus()
{
    if (!built_ || ended_ || rebuildPending_) return;
    if (!focusWanted_.empty() && port_.canFocus(focusWanted_)) {
        moveFocus(std::string(focusWanted_));
        return;
    }
    for (const std::string_view control : layout::kTabOrder) {
        if (port_.canFocus(control)) {
            moveFocus(control);
            return;
        }
    }
}

void WindowProtocol::setSpokenText(std::string_view control, const std::string& text)
{
    const auto said = spoken_.find(control);
    if (said != spoken_.end() && said->second == text) return;
    spoken_.insert_or_assign(std::string(control), text);
    port_.setSpokenText(control, text);
}

void WindowProtocol::clearAnswerAfterFocus()
{
    if (!answerClearPending_) return;
    answerClearPending_ = false;
    port_.setText(Field::txtAnswer, "");
}

void WindowProtocol::sayTimeLeft()
{
    if (built_ && !ended_) port_.announce(spoken::TimeLeft(port_.text(Field::lblconto)));
}

void WindowProtocol::describeLabel(Field field)
{
    const layout::ControlSpec* row = layout::FindControl(fieldName(field));
    if (!row || row->accessibleName.empty()) return;
    const std::string shown = port_.text(field);
    // The record and its holder are the whole lab's when the record is kept on the school's server.
    std::string name(row->accessibleName);
    if (game_.state().classRecord && (field == Field::lblpunti || field == Field::lblnome)) name += " della classe";
    setSpokenText(row->name, field == Field::lblconto ? spoken::TimeLeft(shown) : spoken::LabelValue(name, shown));
}

void WindowProtocol::tab(std::string_view focused, int step)
{
    const auto& order = layout::kTabOrder;
    const int count = static_cast<int>(order.size());
    const auto found = std::ranges::find(order, focused);
    const int at = found != order.end() ? static_cast<int>(found - order.begin()) : step < 0 ? 0 : count - 1;
    for (int i = 1; i <= count; ++i) {
        const std::string_view next = order[static_cast<std::size_t>(((at + step * i) % count + count) % count)];
        if (port_.canFocus(next)) {
            moveFocus(next);
            return;
        }
    }
}

bool WindowProtocol::typeCharacter(char32_t& character)
{
    if (!keys::GoesThroughKeyFilter(character)) return false;
    const std::int16_t original = keys::KeyCode(character);
    std::int16_t key = original;
    game_.txtAnswer_KeyPress(key);
    if (key == 0 || key == keys::kEnter) return false;
    if (key != original) character = static_cast<std::uint8_t>(key);
    return true;
}

bool WindowProtocol::pasteCharacter(char32_t& character)
{
    return character >= U' ' && !ended_ && typeCharacter(character);
}

std::string WindowProtocol::text(Field field) const
{
    return field == Field::txtAnswer && answerClearPending_ ? std::string() : port_.text(field);
}

void WindowProtocol::setText(Field field, const std::string& text)
{
    if (field == Field::txtAnswer) {
        // Only a new question empties the box, and the box takes the focus for it.
        answerClearPending_ = text.empty();
        if (!answerClearPending_) port_.setText(field, text);
        return;
    }
    port_.setText(field, text);
    describeLabel(field);
    if (field != Field::lblconto) return;
    if (const auto notice = spoken::ClockNotice(text)) port_.announce(*notice);
}

void WindowProtocol::setNextEnabled(bool enabled)
{
    // The game disables "Nuovo calcolo" once a question's factors are shown. The answer box gets
    // its question, then the focus, before anything else: a focused button that is disabled
    // would hand the focus on by itself, and the focus is the answer box's from now on anyway.
    if (!enabled) {
        setSpokenText(layout::names::kAnswer,
                      spoken::Question(port_.text(Field::lblNum1), port_.text(Field::lblNum2)));
        moveFocus(layout::names::kAnswer);
    }
    clearAnswerAfterFocus();
    port_.enableControl(layout::names::kNext, enabled);
}

void WindowProtocol::focusNext()
{
    // The verdict and the tallies are shown by now: "Nuovo calcolo" says them as it takes the focus.
    setSpokenText(layout::names::kNext, spoken::Verdict(port_.text(Field::lblMessage), port_.text(Field::lblScore),
                                             port_.text(Field::lblScore1), port_.text(Field::lblScore2)));
    clearAnswerAfterFocus();
    moveFocus(layout::names::kNext);
}

void WindowProtocol::focusAnswer()
{
    moveFocus(layout::names::kAnswer);
    clearAnswerAfterFocus();
}

void WindowProtocol::setTimerEnabled(bool enabled) { port_.setTimerRunning(enabled); }

MsgAnswer WindowProtocol::messageBox(const std::string& text, int style, const std::string& title)
{
    clearAnswerAfterFocus();
    ++openDialogs_;
    const MsgAnswer answer =
        dialogs_.messageBox(port_.dialogOwner(), text, style, title.empty() ? std::string(layout::kApplicationTitle) : title);
    --openDialogs_;
    return answer;
}

std::string WindowProtocol::inputBox(const std::string& prompt, const std::string& title)
{
    ++openDialogs_;
    std::string typed = dialogs_.inputBox(port_.dialogOwner(), prompt, title);
    --openDialogs_;
    // A prompt that never showed a frame leaves the first build to now.
    promptOnScreen();
    return typed;
}

void WindowProtocol::paintBackground(std::int16_t p, std::int16_t q) { port_.paintBackground(p, q); }

void WindowProtocol::setCaption(const std::string& caption) { port_.setCaption(caption); }

void WindowProtocol::endProgram()
{
    ended_ = true;
    port_.setTimerRunning(false);
    port_.hideWindow();
    port_.ended();
}

}  // namespace brivana
