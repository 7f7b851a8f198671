#include "window_protocol/key_rules.h"

#include "layout/control_names.h"
#include "layout/control_table.h"

namespace brivana::keys {

namespace {

namespace names = layout::names;

bool IsButton(std::string_view control)
{
    const layout::ControlSpec* row = layout::FindControl(control);
    return row && (row->kind == layout::Kind::button || row->kind == layout::Kind::graphicalButton);
}

// Enter, with Ctrl or without: a focused button takes it; elsewhere it goes to "Nuovo calcolo",
// the default button, while that is enabled; in the answer box it evaluates the answer otherwise.
Outcome Enter(std::string_view focused, const std::function<bool(std::string_view)>& enabled)
{
    if (IsButton(focused)) return {Does::click, focused};
    if (enabled(names::kNext)) return {Does::click, names::kNext};
    if (focused == names::kAnswer) return {Does::evaluate};
    return {Does::nothing};
}

// Alt with a letter clicks the button whose caption marks that letter, while it is enabled.
Outcome AccessKeyOf(char32_t letter, const std::function<bool(std::string_view)>& enabled)
{
    for (const layout::ControlSpec& row : layout::Controls()) {
        if (!IsButton(row.name) || AccessKey(row.caption) != letter) continue;
        if (!enabled(row.name)) return {Does::nothing};
        return {Does::click, row.name};
    }
    return {Does::passOn};
}

}  // namespace

char32_t AccessKey(std::string_view caption)
{
    const std::size_t mark = caption.find('&');
    if (mark == std::string_view::npos || mark + 1 >= caption.size()) return 0;
    const char letter = caption[mark + 1];
    return static_cast<char32_t>(letter >= 'a' && letter <= 'z' ? letter - 'a' + 'A' : letter);
}

Outcome WhatKeyDoes(Press press, std::string_view focused, const std::function<bool(std::string_view)>& enabled)
{
    switch (press.key) {
    case Key::enter:
    case Key::ctrlEnter: return Enter(focused, enabled);
    case Key::ctrlBackspace: return focused == names::kAnswer ? Outcome{Does::eraseBefore} : Outcome{Does::nothing};
    // Esc in the window closes nothing and ends nothing: the game ends only by Exit.
    case Key::escape: return {Does::nothing};
    case Key::f2: return {Does::sayTimeLeft};
    case Key::tab: return {Does::tab, {}, 1};
    case Key::shiftTab: return {Does::tab, {}, -1};
    case Key::alt: return AccessKeyOf(press.letter, enabled);
    }
    return {};
}

}  // namespace brivana::keys
