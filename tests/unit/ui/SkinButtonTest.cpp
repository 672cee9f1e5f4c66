// The skinned button's colour API, its look in each state and what its click does.
#include "ui/SkinButton.h"
#include "FakePlatform.h"
#include "platform/Window.h"
#include "platform/sim/VirtualEventLoop.h"
#include "resources/ResourceIds.h"
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

const DialogTemplate kPanel{500,
                            "panel",
                            100,
                            50,
                            {
                                {10, ControlKind::Button, "Go", 0, 0, 40, 12},
                                {11, ControlKind::CheckBox, "Beep", 0, 14, 40, 12},
                                {12, ControlKind::Button, "Hidden", 0, 28, 40, 12, false},
                            }};

} // namespace

TEST(SkinButtonColors, SettersCheckTheirArgumentsAndKeepEveryPartInRange) {
    SkinButton b;
    EXPECT_EQ(b.color(SkinButton::BackOut), SystemColors::ButtonFace);
    EXPECT_EQ(b.color(SkinButton::ForeFocus), SystemColors::ButtonText);

    EXPECT_EQ(b.setColor(6, rgb(1, 2, 3)), SkinButton::kBadIndex);
    for (int i = 0; i < SkinButton::kSlots; ++i) {
        EXPECT_NE(b.color(i), rgb(1, 2, 3));
    }
    EXPECT_EQ(b.setColor(SkinButton::BackIn, rgb(250, 100, 100)), SkinButton::kOk);
    EXPECT_EQ(b.shiftColor(SkinButton::BackIn, 10), SkinButton::kOk);
    EXPECT_EQ(b.color(SkinButton::BackIn), rgb(255, 105, 105)); // limited to +5 by red

    b.setColor(SkinButton::ForeIn, rgb(3, 200, 90));
    EXPECT_EQ(b.shiftColor(SkinButton::ForeIn, -20), SkinButton::kOk);
    EXPECT_EQ(b.color(SkinButton::ForeIn), rgb(0, 197, 87)); // limited to -3 by red

    EXPECT_EQ(b.shiftColor(9, 300), SkinButton::kBadIndex); // the index is checked first
    EXPECT_EQ(b.shiftColor(SkinButton::BackIn, 256), SkinButton::kBadOffset);
    EXPECT_EQ(b.shiftColor(SkinButton::BackIn, -256), SkinButton::kBadOffset);
    EXPECT_EQ(b.shiftColor(SkinButton::BackIn, 255), SkinButton::kOk);
    EXPECT_EQ(b.color(SkinButton::BackIn), rgb(255, 105, 105)); // red is at the top already

    b.resetColors();
    for (int i = 0; i < SkinButton::kSlots; ++i) {
        EXPECT_EQ(b.color(i), i % 2 == 0 ? SystemColors::ButtonFace : SystemColors::ButtonText);
    }
}

TEST(SkinButtonLook, ColoursFollowPointerPressAndFocus) {
    SkinButton b;
    for (int slot = SkinButton::BackIn; slot <= SkinButton::ForeFocus; ++slot) {
        b.setColor(slot, rgb(slot + 1, 0, 0)); // BackIn 1, ForeIn 2, ... ForeFocus 6
    }

    SkinButton::Look normal = b.look({});
    EXPECT_EQ(normal.back, rgb(3, 0, 0));
    EXPECT_EQ(normal.text, rgb(4, 0, 0));
    EXPECT_EQ(normal.edge, SkinButton::Edge::None);
    SkinButton::Look focused = b.look({false, true, false});
    EXPECT_EQ(focused.back, rgb(5, 0, 0));
    EXPECT_EQ(focused.text, rgb(4, 0, 0));
    EXPECT_FALSE(focused.focusRect); // flat without the flat-focus flag
    SkinButton::Look pressed = b.look({true, false, false});
    EXPECT_EQ(pressed.back, rgb(1, 0, 0));
    EXPECT_EQ(pressed.text, rgb(2, 0, 0));
    EXPECT_TRUE(pressed.textOffset);
    EXPECT_EQ(pressed.edge, SkinButton::Edge::SunkenThin);

    b.mouseMove(false, true);
    SkinButton::Look hot = b.look({});
    EXPECT_EQ(hot.back, rgb(1, 0, 0));
    EXPECT_EQ(hot.edge, SkinButton::Edge::RaisedThin);
    b.setDrawBorder(false);
    EXPECT_EQ(b.look({}).edge, SkinButton::Edge::None);
    EXPECT_TRUE(b.look({false, false, true}).embossedText);

    b.mouseLeave();
    b.setFlat(false);
    EXPECT_EQ(b.look({}).edge, SkinButton::Edge::ThreeD);
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
    b.mouseMove(true, true); // left button held, pointer came from elsewhere
    EXPECT_FALSE(b.pointerOver());
    b.mouseMove(false, true, false); // application not active
    EXPECT_FALSE(b.pointerOver());
    b.mouseMove(false, true);
    EXPECT_TRUE(b.pointerOver());
    b.mouseMove(true, true); // a press that started here keeps the hover
    EXPECT_TRUE(b.pointerOver());
    b.mouseLeave();
    EXPECT_FALSE(b.pointerOver());
    b.setFlat(false);
    b.mouseMove(false, true);
    EXPECT_FALSE(b.pointerOver());
}

TEST(SkinButtonClick, CheckModeTogglesMenuAsksAndAddressOpens) {
    VirtualEventLoop loop;
    Panel panel(loop);
    panel.create(kPanel);
    zentrel::testing::FakeUiServices services;

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

TEST(SkinButtonClick, TooltipReachesTheControlAndHiddenButtonsKeepTheirSkin) {
    VirtualEventLoop loop;
    Panel panel(loop);
    panel.create(kPanel);
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
