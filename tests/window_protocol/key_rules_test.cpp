// What each key does, in which control and state: the one table both windows follow.
#include "window_protocol/key_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace brivana::keys {
namespace {

TEST(KeyRules, EachKeyInEachControlAndState)
{
    struct Row {
        Press press;
        std::string_view focused;
        bool nextEnabled;
        Outcome outcome;
    };
    const Press enter{Key::enter}, ctrlEnter{Key::ctrlEnter}, ctrlBackspace{Key::ctrlBackspace};
    const Press altN{Key::alt, U'N'}, altX{Key::alt, U'X'}, altQ{Key::alt, U'Q'};
    // clang-format off
    const Row rows[] = {
        // Enter and Ctrl+Enter alike: the focused button, else Nuovo calcolo while enabled, else the answer.
        {enter,      "txtAnswer", false, {Does::evaluate}},
        {ctrlEnter,  "txtAnswer", false, {Does::evaluate}},
        {enter,      "txtAnswer", true,  {Does::click, "cmdNext"}},
        {ctrlEnter,  "txtAnswer", true,  {Does::click, "cmdNext"}},
        {enter,      "cmdExit",   true,  {Does::click, "cmdExit"}},
        {ctrlEnter,  "Command1",  true,  {Does::click, "Command1"}},
        {enter,      "",          false, {Does::nothing}},
        {enter,      "",          true,  {Does::click, "cmdNext"}},
        // Ctrl+Backspace erases the number before the caret, only in the answer box.
        {ctrlBackspace, "txtAnswer", false, {Does::eraseBefore}},
        {ctrlBackspace, "cmdNext",   true,  {Does::nothing}},
        // Esc ends nothing in the window; F2 speaks the clock anywhere.
        {{Key::escape}, "txtAnswer", false, {Does::nothing}},
        {{Key::escape}, "cmdExit",   true,  {Does::nothing}},
        {{Key::f2},     "cmdExit",   false, {Does::sayTimeLeft}},
        {{Key::f2},     "",          false, {Does::sayTimeLeft}},
        {{Key::tab},      "txtAnswer", false, {Does::tab, {}, 1}},
        {{Key::shiftTab}, "txtAnswer", false, {Does::tab, {}, -1}},
        // The access keys come from the captions "&Nuovo calcolo" and "E&xit".
        {altN, "txtAnswer", true,  {Does::click, "cmdNext"}},
        {altN, "txtAnswer", false, {Does::nothing}},
        {altX, "txtAnswer", false, {Does::click, "cmdExit"}},
        {altQ, "txtAnswer", true,  {Does::passOn}},
    };
    // clang-format on
    for (const Row& row : rows) {
        const auto enabled = [&](std::string_view control) { return control != "cmdNext" || row.nextEnabled; };
        const Outcome got = WhatKeyDoes(row.press, row.focused, enabled);
        EXPECT_EQ(got, row.outcome) << "key " << static_cast<int>(row.press.key) << " letter "
                                    << static_cast<char>(row.press.letter) << " in '" << row.focused
                                    << "', Nuovo calcolo " << (row.nextEnabled ? "enabled" : "disabled")
                                    << ": got " << static_cast<int>(got.does) << " " << got.control;
    }
}

}  // namespace
}  // namespace brivana::keys
