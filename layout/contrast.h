#pragma once
// Colours that keep a text readable where the design's own colours meet a background they
// were not chosen for: the gradient's brightest and darkest tints, and a disabled button.
// Contrast is the WCAG 2 contrast ratio, from 1 (same luminance) to 21 (black on white).

#include <cstdint>
#include <optional>
#include <utility>

#include "layout/control_table.h"

namespace brivana::layout {

// The least contrast a text keeps against what surrounds it.
inline constexpr double kMinimumContrast = 3.0;

// The WCAG 2 relative luminance of an sRGB colour, from 0 (black) to 1 (white).
double RelativeLuminance(Rgb colour);
// The WCAG 2 contrast ratio of two colours, in either order.
double ContrastRatio(Rgb a, Rgb b);

// The colour of the thin halo drawn around a text of colour `text` where it stands on the
// gradient on a band of colour `band`; nothing where the text already stands kMinimumContrast
// from the band. The halo is black or white: whichever stands out more from the band among
// those that keep the text at kMinimumContrast. The text's own colour never changes.
std::optional<Rgb> HaloColour(Rgb text, Rgb band);

// The raw draws p and q of the gradient painted behind the labels; nothing before the first
// question, while the background is black.
using Draws = std::optional<std::pair<std::int16_t, std::int16_t>>;

// The halo of a label of text colour `text` that stands on the background, in an area
// `height` rows high: one colour for the whole label, from the band behind its middle row
// (top + (rows - 1) / 2); nothing where the text needs none.
std::optional<Rgb> LabelHaloColour(Rgb text, const Draws& draws, int top, int rows, int height);

// The caption colour of a disabled button with this face: a grey that reads as faded, as
// close to the face as kMinimumContrast allows (the darker one when two are as close).
Rgb DisabledCaptionColour(Rgb face);

}  // namespace brivana::layout
