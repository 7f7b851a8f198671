#pragma once
// What each key the windows hand over does, in which control and state: one table for both
// windows. A window reports a key in these terms with the control that has the focus, and
// does what the answer says; keys not named here (letters, digits, arrows, Delete, Space)
// stay with the focused control.

#include <functional>
#include <string_view>

namespace brivana::keys {

enum class Key {
    enter,          // Enter, on the main keyboard or the keypad
    ctrlEnter,      // Ctrl with Enter
    ctrlBackspace,  // Ctrl with Backspace
    escape,
    f2,
    tab,
    shiftTab,
    alt,  // Alt with a letter: an access key, given as `letter`
};

struct Press {
    Key key;
    char32_t letter = 0;  // with Key::alt: the letter, in upper case
};

enum class Does {
    passOn,       // the focused control handles the key as its toolkit does
    nothing,      // taken, and nothing happens
    click,        // as a click on `control`
    evaluate,     // the answer is evaluated: Enter (13) through the game's key filter
    eraseBefore,  // the answer box loses what stands before its caret: the number is one word
    sayTimeLeft,  // a screen reader says the time left
    tab,          // the focus moves on in tab order by `step`
};

struct Outcome {
    constexpr Outcome(Does what = Does::passOn, std::string_view clicked = {}, int by = 0)
        : does(what), control(clicked), step(by)
    {
    }
    Does does;
    std::string_view control;  // with Does::click
    int step;                  // with Does::tab
    friend bool operator==(const Outcome&, const Outcome&) = default;
};

// The letter after the "&" of a caption, in upper case; 0 for a caption without one.
char32_t AccessKey(std::string_view caption);

// What `press` does while `focused` (a design name; empty for none of the controls) has the
// focus. `enabled` tells whether a control is enabled now.
Outcome WhatKeyDoes(Press press, std::string_view focused, const std::function<bool(std::string_view)>& enabled);

}  // namespace brivana::keys
