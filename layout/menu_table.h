#pragma once
// The window's six menu items, created after its controls: three menus on the menu bar,
// each with one entry. The captions that name the program's makers are ours and neutral.

#include <cstdint>
#include <span>
#include <string_view>

namespace brivana::layout {

struct MenuSpec {
    std::string_view name;
    std::int16_t index;      // index within its group of items; 0 for an item without a group
    std::string_view menu;   // the menu that holds this entry; empty for a menu on the menu bar
    std::string_view caption;
};

std::span<const MenuSpec> MenuItems();

// The credits shown by the entry "copy".
std::string_view CreditsText();

}  // namespace brivana::layout
