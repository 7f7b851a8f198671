#include "game/game_view.h"

namespace brivana {

std::string_view fieldName(Field field)
{
    switch (field) {
    case Field::lblNum1: return "lblNum1";
    case Field::lblnum5: return "lblnum5";
    case Field::lblNum2: return "lblNum2";
    case Field::txtAnswer: return "txtAnswer";
    case Field::lblMessage: return "lblMessage";
    case Field::lblScore: return "lblScore";
    case Field::lblScore1: return "lblScore1";
    case Field::lblScore2: return "lblScore2";
    case Field::lblconto: return "lblconto";
    case Field::lblnome1: return "lblnome1";
    case Field::lblnome: return "lblnome";
    case Field::lblpunti: return "lblpunti";
    }
    return {};
}

}  // namespace brivana
