#include "layout/menu_table.h"

#include <array>

namespace brivana::layout {

namespace {

// clang-format off
constexpr std::array kMenuItems{
//         name           index  menu           caption
    MenuSpec{"INFOMAZIONI", 1,  "",            "www.example.org "},
    MenuSpec{"Istituto",    0,  "INFOMAZIONI", "Scuola di Esempio, Località Immaginaria"},
    MenuSpec{"Ciao",        1,  "",            "Un gioco degli autori di Brivana"},
    MenuSpec{"copy",        3,  "Ciao",        "Via Immaginaria 0, 00000 Località Immaginaria"},
    MenuSpec{"Next",        0,  "",            "NUOVO GIOCO"},
    MenuSpec{"o",           0,  "Next",        "Per contattare gli autori:autori@example.org"},
};
// clang-format on

}  // namespace

std::span<const MenuSpec> MenuItems() { return kMenuItems; }

std::string_view CreditsText()
{
    return "Brivana: giochiamo con il prodotto di numeri relativi.\n"
           "Un gioco degli autori di Brivana, Scuola di Esempio, Località Immaginaria.\n"
           "Per contattare gli autori: autori@example.org - www.example.org\n"
           "Software libero: GNU General Public License, versione 3 o successiva (GPL-3.0-or-later).";
}

}  // namespace brivana::layout
