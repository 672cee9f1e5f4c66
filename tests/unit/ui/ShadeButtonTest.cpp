// The shaded button's generated texture: the same in every run, within its palette, and lit
// while pointed at.
#include "ui/ShadeButton.h"
#include "ui/SystemColors.h"

#include <gtest/gtest.h>

using namespace zentrel;

TEST(ShadeButton, TheTextureIsTheSameForEveryButtonAndEveryRun) {
    ShadeButton a;
    ShadeButton b;
    a.setShade(80, 24);
    b.setShade(80, 24);
    EXPECT_EQ(a.normalImage().pixels, b.normalImage().pixels);
    ASSERT_EQ(a.normalImage().pixels.size(), 80u * 24u);

    // Not flat: streaks, a ramp and noise.
    const auto& px = a.normalImage().pixels;
    const auto [lo, hi] = std::minmax_element(px.begin(), px.end());
    EXPECT_LT(*lo, 60);
    EXPECT_GT(*hi, 150);
    // The ramp grows downwards and to the left.
    EXPECT_LT(a.normalImage().at(79, 0), a.normalImage().at(0, 23));
}

TEST(ShadeButton, PaletteRunsFromShadowOverFaceToHighlightAndTheHotFaceIsLighter) {
    ShadeButton s;
    s.setShade(10, 10);
    const auto& pal = s.normalImage().palette;
    EXPECT_EQ(pal[0], SystemColors::ButtonShadow);
    EXPECT_EQ(pal[128], SystemColors::ButtonFace);
    EXPECT_EQ(pal[255], SystemColors::ButtonHighlight);
    // 10 % of the way from the shadow (160) to the highlight (255).
    EXPECT_EQ(s.hotImage().palette[0], rgb(169, 169, 169));
    EXPECT_EQ(s.hotImage().pixels, s.normalImage().pixels);
}

TEST(ShadeButton, DegenerateSizesBecomeOnePixelAndThePressedHotFaceShifts) {
    ShadeButton s;
    s.setShade(0, -3);
    EXPECT_EQ(s.normalImage().pixels.size(), 1u);

    ShadeButton b;
    b.setShade(20, 10);
    bool shifted = true;
    EXPECT_EQ(&b.faceFor({true, false, false}, &shifted), &b.normalImage());
    EXPECT_FALSE(shifted);
    b.mouseMove(false, true);
    EXPECT_EQ(&b.faceFor({true, false, false}, &shifted), &b.hotImage());
    EXPECT_TRUE(shifted);
    EXPECT_EQ(b.look({}).edge, SkinButton::Edge::RaisedThin);
}
