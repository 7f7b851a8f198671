// The colours that keep texts readable on the gradient and on a disabled button.
#include "layout/contrast.h"

#include <gtest/gtest.h>

#include "layout/gradient_bands.h"

namespace brivana::layout {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kCyan{0, 255, 255};
constexpr Rgb kMagenta{192, 0, 192};

TEST(Contrast, MeasuresTheWcagRatioInEitherOrder)
{
    EXPECT_NEAR(ContrastRatio(kBlack, kWhite), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(kWhite, kBlack), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(kCyan, kCyan), 1.0, 1e-9);
    // The faults a pupil met: yellow on a bright tint, the old disabled grey on cyan.
    EXPECT_NEAR(ContrastRatio(kYellow, Rgb{180, 255, 60}), 1.13, 0.01);
    EXPECT_NEAR(ContrastRatio(Rgb{190, 190, 190}, kCyan), 1.48, 0.01);
    // Each channel with its own weight, on the sRGB curve.
    EXPECT_NEAR(ContrastRatio(Rgb{255, 0, 0}, kBlack), 5.25, 0.01);
    EXPECT_NEAR(ContrastRatio(Rgb{0, 0, 255}, kBlack), 2.44, 0.01);
    EXPECT_NEAR(ContrastRatio(Rgb{0, 128, 0}, kBlack), 4.09, 0.01);
}

// Every text that stands on the gradient keeps 3:1 against what surrounds it on the darkest and
// brightest tints: the band itself, or a halo that also stands out from the band.
TEST(Contrast, EveryTextOnTheGradientStaysReadableOnTheDarkestAndBrightestTints)
{
    for (const ControlSpec& row : Controls()) {
        if (row.kind != Kind::label || row.back) continue;
        const Rgb text = row.text.value_or(kBlack);
        for (const auto& [p, q] : {std::pair{-1, -1}, std::pair{-11, -20}, std::pair{-11, -13}, std::pair{0, 0}}) {
            for (int band = 0; band < kBands; ++band) {
                const Rgb back = BandColour(static_cast<std::int16_t>(p), static_cast<std::int16_t>(q), band);
                const std::optional<Rgb> halo = HaloColour(text, back);
                SCOPED_TRACE(std::string(row.name) + " band " + std::to_string(band) + " p " + std::to_string(p));
                ASSERT_EQ(halo.has_value(), ContrastRatio(text, back) < kMinimumContrast) << "a halo only where needed";
                if (halo) {
                    ASSERT_GE(ContrastRatio(text, *halo), kMinimumContrast);
                    ASSERT_GE(ContrastRatio(*halo, back), kMinimumContrast);
                }
            }
        }
    }
}

TEST(Contrast, TheHaloPicksTheSideOfTheBandWhenTheTextAllowsBoth)
{
    EXPECT_EQ(HaloColour(kYellow, Rgb{220, 255, 255}), kBlack);
    EXPECT_EQ(HaloColour(kYellow, Rgb{180, 255, 60}), kBlack);
    EXPECT_EQ(HaloColour(kYellow, Rgb{20, 20, 0}), std::nullopt) << "yellow reads well on the dark tints";
    EXPECT_EQ(HaloColour(Rgb{0, 0, 255}, Rgb{20, 20, 0}), kWhite) << "black would hide blue";
    EXPECT_EQ(HaloColour(Rgb{0, 192, 0}, Rgb{180, 255, 60}), kBlack) << "white would hide the light green";
    EXPECT_EQ(HaloColour(kMagenta, Rgb{120, 120, 128}), kBlack) << "both keep magenta: the one the band lacks";
    EXPECT_EQ(HaloColour(kMagenta, Rgb{60, 60, 200}), kWhite);
}

TEST(Contrast, ADisabledCaptionIsAGreyThatStaysJustReadableOnTheFace)
{
    for (const Rgb face : {kCyan, kMagenta, Rgb{212, 208, 200}}) {
        const Rgb grey = DisabledCaptionColour(face);
        EXPECT_EQ(grey.red, grey.green);
        EXPECT_EQ(grey.green, grey.blue);
        EXPECT_GE(ContrastRatio(grey, face), kMinimumContrast);
        EXPECT_LT(ContrastRatio(grey, face), 3.1) << "as faded as readability allows";
    }
    EXPECT_LT(DisabledCaptionColour(kCyan).red, 255 / 2 + 8) << "dark grey on the bright cyan";
}

}  // namespace
}  // namespace brivana::layout
