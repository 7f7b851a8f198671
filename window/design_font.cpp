#include "window/design_font.h"

#include <QStringList>
#include <cmath>

namespace brivana::window {

namespace {

using namespace layout;

// The face itself first, then its stand-in.
QStringList Families(Face face)
{
    switch (face) {
    case Face::msSansSerif: return {"MS Sans Serif", "Liberation Sans"};
    case Face::arial: return {"Arial", "Liberation Sans"};
    case Face::arialBlack: return {"Arial Black", "Liberation Sans"};
    case Face::timesNewRoman: return {"Times New Roman", "Liberation Serif"};
    case Face::none: break;
    }
    return {};
}

}  // namespace

int PointsToPixels(double points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }

QFont DesignFont(const layout::FontSpec& design)
{
    QFont font;
    if (design.face == Face::none) return font;
    font.setFamilies(Families(design.face));
    // Pixels rather than points: the layout is in pixels and must not follow the screen's DPI.
    font.setPixelSize(PointsToPixels(design.points));
    font.setWeight(design.weight == Weight::bold ? QFont::Bold : QFont::Normal);
    font.setItalic(design.slant == Slant::italic);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

}  // namespace brivana::window
