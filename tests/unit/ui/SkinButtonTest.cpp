// The skinned button's colours, its look in each state and what its click does.
#include "ui/SkinButton.h"
#include "ui/ShadeButton.h"
#include "ui/SystemColors.h"
#include "FakePlatform.h"
#include "platform/Window.h"
#include "platform/sim/VirtualEventLoop.h"
#include "resources/ResourceIds.h"

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

TEST(SkinButtonLook, TheInIconShowsWhilePointedAtOrWhenThereIsNoOutIcon) {
    SkinButton b;
    EXPECT_EQ(b.setIcons(res::kCloseIconHot, res::kCloseIcon), SkinButton::kOk);
    EXPECT_EQ(b.look({}).icon, res::kCloseIcon);
    EXPECT_EQ(b.look({true, false, false}).icon, res::kCloseIconHot);
    b.mouseMove(false, true);
    EXPECT_EQ(b.look({}).icon, res::kCloseIconHot);

    EXPECT_EQ(b.setIcons(res::kLinkIcon), SkinButton::kOk);
    b.mouseLeave();
    EXPECT_EQ(b.look({}).icon, res::kLinkIcon); // no "out" icon: "in" in every state
    EXPECT_EQ(b.setIcons(res::kCloseIcon, 4711), SkinButton::kNoResource);
    EXPECT_EQ(b.iconIn(), 0);
    EXPECT_EQ(b.iconOut(), 0);
    EXPECT_EQ(b.setCursor(4711), SkinButton::kNoResource);
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

TEST_F(SkinButtonClick, CheckModeTogglesMenuAsksAndAddressOpens) {
    SkinButton check;
    check.attach(panel, 11);
    EXPECT_TRUE(check.checkMode());
    EXPECT_EQ(check.click(&services), SkinButton::ClickResult::Toggled);
    EXPECT_TRUE(check.checked());
    EXPECT_TRUE(check.look({}).hot); // a checked toggle draws pressed
    EXPECT_FALSE(check.look({}).textOffset);

    SkinButton menu;
    menu.attach(panel, 10);
    EXPECT_FALSE(menu.checkMode());
    menu.setMenu({{301, "One"}, {0, ""}, {302, "Two"}}, &panel);
    menu.setAddress("http://192.168.1.50/");
    EXPECT_EQ(menu.click(&services), SkinButton::ClickResult::ShowMenu);
    menu.menuChosen(302);
    menu.menuChosen(0);
    EXPECT_EQ(panel.commands, (std::vector<std::pair<int, int>>{{302, BN_CLICKED}}));
    EXPECT_TRUE(services.opened.empty());

    SkinButton link;
    link.attach(panel, 10);
    link.setAddress("http://192.168.1.50/");
    EXPECT_EQ(link.click(&services), SkinButton::ClickResult::OpenedAddress);
    EXPECT_EQ(services.opened, (std::vector<std::string>{"http://192.168.1.50/"}));
}

TEST_F(SkinButtonClick, TooltipReachesTheControlAndHiddenButtonsKeepTheirSkin) {
    SkinButton hidden;
    hidden.attach(panel, 12);
    hidden.setTooltip("Connect");
    EXPECT_EQ(panel.control(12).tooltip, "Connect");
    hidden.setColor(SkinButton::BackOut, rgb(128, 128, 128));
    panel.enable(12, false);
    panel.enable(12, true);
    EXPECT_TRUE(panel.isEnabled(12));
    EXPECT_EQ(hidden.color(SkinButton::BackOut), rgb(128, 128, 128));
    panel.click(12); // a person cannot reach a hidden button
    EXPECT_TRUE(panel.commands.empty());
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
