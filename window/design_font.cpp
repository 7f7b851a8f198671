#include "window/design_font.h"

#include <QStringList>
#include <cmath>

namespace brivana::window {

namespace {

using namespace layout;

// The face itself first, then its stand-in on Linux.
QStringList Families(Face face)
{
    const QString standIn = face == Face::timesNewRoman ? QStringLiteral("Liberation Serif")
                                                        : QStringLiteral("Liberation Sans");
    return {QString::fromUtf8(FaceName(face).data(), static_cast<qsizetype>(FaceName(face).size())), standIn};
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
