#include "layout/contrast.h"

#include "layout/gradient_bands.h"

#include <algorithm>
#include <cmath>

namespace brivana::layout {

namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

double Linear(int component)
{
    const double c = component / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

}  // namespace

double RelativeLuminance(Rgb colour)
{
    return 0.2126 * Linear(colour.red) + 0.7152 * Linear(colour.green) + 0.0722 * Linear(colour.blue);
}

double ContrastRatio(Rgb a, Rgb b)
{
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::optional<Rgb> HaloColour(Rgb text, Rgb band)
{
    if (ContrastRatio(text, band) >= kMinimumContrast) return std::nullopt;
    const bool blackKeepsText = ContrastRatio(text, kBlack) >= kMinimumContrast;
    const bool whiteKeepsText = ContrastRatio(text, kWhite) >= kMinimumContrast;
    if (blackKeepsText && whiteKeepsText)
        return ContrastRatio(kBlack, band) >= ContrastRatio(kWhite, band) ? kBlack : kWhite;
    if (blackKeepsText != whiteKeepsText) return blackKeepsText ? kBlack : kWhite;
    // A mid-grey text: neither reaches it, so the one that comes closer.
    return ContrastRatio(text, kBlack) >= ContrastRatio(text, kWhite) ? kBlack : kWhite;
}

Rgb DisabledCaptionColour(Rgb face)
{
    Rgb best = kBlack;
    double bestRatio = 0;
    for (int level = 0; level <= 255; ++level) {
        const Rgb grey{level, level, level};
        const double ratio = ContrastRatio(grey, face);
        if (ratio < kMinimumContrast) continue;
        if (bestRatio == 0 || ratio < bestRatio) {
            best = grey;
            bestRatio = ratio;
        }
    }
    return best;
}

std::optional<Rgb> LabelHaloColour(Rgb text, const Draws& draws, int top, int rows, int height)
{
    if (!draws) return HaloColour(text, kBlack);
    const int middle = std::clamp(top + (rows - 1) / 2, 0, std::max(0, height - 1));
    return HaloColour(text, BandColour(draws->first, draws->second, BandAtRow(middle, height)));
}

}  // namespace brivana::layout
