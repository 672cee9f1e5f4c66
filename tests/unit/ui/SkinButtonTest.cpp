// The skinned button's colours, its look in each state and what its click does.
#include "ui/SkinButton.h"
#include "FakePlatform.h"
#include "platform/Window.h"
#include "platform/sim/VirtualEventLoop.h"
#include "resources/ResourceIds.h"
#include "ui/ShadeButton.h"
#include "ui/SystemColors.h"

#include <gtest/gtest.h>

using namespace zentrel;

namespace {

class Panel : public Window {
public:
    using Window::Window;
    void onCommand(int id, int code) override { commands.emplace_back(id, code); }
    std::vector<std::pair<int, int>> commands;
};

const std::vector<ControlTemplate> kControls{
    {10, ControlKind::Button, "Go", 0, 0, 40, 12},
    {11, ControlKind::CheckBox, "Beep", 0, 14, 40, 12},
    {12, ControlKind::Button, "Hidden", 0, 28, 40, 12, false}};
const DialogTemplate kPanel{500, "panel", 100, 50, kControls};

// A panel of three buttons, the third hidden, that records the commands it receives.
class SkinButtonClick : public ::testing::Test {
protected:
    SkinButtonClick() { panel.create(kPanel); }
    VirtualEventLoop loop;
    Panel panel{loop};
    zentrel::testing::FakeUiServices services;
};

} // namespace

TEST(SkinButtonLook, ColoursFollowPointerPressAndFocus) {
    SkinButton b;
    for (int slot = SkinButton::BackIn; slot <= SkinButton::ForeFocus; ++slot) {
        b.setColor(slot, rgb(slot + 1, 0, 0)); // BackIn 1, ForeIn 2, ... ForeFocus 6
    }

    using Edge = SkinButton::Edge;
    const std::tuple<SkinButton::DrawState, int, int, Edge> states[] = {
        {{}, 3, 4, Edge::None},
        {{false, true, false}, 5, 4, Edge::None},
        {{true, false, false}, 1, 2, Edge::SunkenThin}};
    for (const auto& [state, back, text, edge] : states) {
        const SkinButton::Look look = b.look(state);
        EXPECT_EQ(look.back, rgb(back, 0, 0));
        EXPECT_EQ(look.text, rgb(text, 0, 0));
        EXPECT_EQ(look.edge, edge);
    }
    EXPECT_FALSE(b.look({false, true, false}).focusRect); // flat without the flat-focus flag
    EXPECT_TRUE(b.look({true, false, false}).textOffset);

    b.mouseMove(false, true);
    SkinButton::Look hot = b.look({});
    EXPECT_EQ(hot.back, rgb(1, 0, 0));
    EXPECT_EQ(hot.edge, Edge::RaisedThin);
    b.setDrawBorder(false);
    EXPECT_EQ(b.look({}).edge, Edge::None);
    EXPECT_TRUE(b.look({false, false, true}).embossedText);

    b.mouseLeave();
    b.setFlat(false);
    EXPECT_EQ(b.look({}).edge, Edge::ThreeD);
    EXPECT_TRUE(b.look({false, true, false}).blackFrame);
}

TEST(SkinButtonPointer, HoverIgnoresDragsFromElsewhereAndRaisedButtons) {
    SkinButton b;
    const auto over = [&](bool held, bool active = true) {
        b.mouseMove(held, true, active);
        return b.pointerOver();
    };
    EXPECT_FALSE(over(true));         // left button held, pointer came from elsewhere
    EXPECT_FALSE(over(false, false)); // application not active
    EXPECT_TRUE(over(false));
    EXPECT_TRUE(over(true)); // a press that started here keeps the hover
    b.mouseLeave();
    EXPECT_FALSE(b.pointerOver());
    b.setFlat(false);
    EXPECT_FALSE(over(false));
}

TEST(SkinButtonColours, ShiftsKeepTheHueInRangeAndSlotsPastTheEndAreRefused) {
    SkinButton b;
    b.setColor(SkinButton::BackIn, rgb(200, 10, 10));
    b.shiftColor(SkinButton::BackIn, 100); // cut where red reaches the top
    EXPECT_EQ(b.color(SkinButton::BackIn), rgb(255, 65, 65));
    b.shiftColor(SkinButton::BackIn, -100); // cut where green and blue reach the bottom
    EXPECT_EQ(b.color(SkinButton::BackIn), rgb(190, 0, 0));
    EXPECT_EQ(b.setColor(SkinButton::kSlots, rgb(1, 2, 3)), SkinButton::kBadIndex);
    EXPECT_EQ(b.shiftColor(SkinButton::kSlots, 1), SkinButton::kBadIndex);
}

TEST(ShadeButtonFace, ItsPaletteRunsFromTheShadowThroughTheFaceToTheHighlight) {
    ShadeButton b;
    b.setShade(20, 10);
    const ShadeButton::Palette& p = b.normalImage().palette;
    EXPECT_EQ(p[0], SystemColors::ButtonShadow);
    EXPECT_EQ(p[128], SystemColors::ButtonFace);
    EXPECT_EQ(p[255], SystemColors::ButtonHighlight);
}
