#include "platform/Window.h"
#include "platform/sim/VirtualEventLoop.h"

#include <gtest/gtest.h>

using namespace zentrel;

namespace {

class Panel : public Window {
public:
    using Window::Window;
    void onCommand(int id, int code) override { commands.emplace_back(id, code); }
    std::vector<std::pair<int, int>> commands;
};

const DialogTemplate kPanel{
    145,
    "panel",
    100,
    50,
    {
        {1013, ControlKind::Radio, "COM Control Mode", 0, 0, 50, 10, true, true, 1},
        {1014, ControlKind::Radio, "TCP Control Mode", 0, 10, 50, 10, true, true, 1},
        {1183, ControlKind::CheckBox, "Enable Beep ", 0, 20, 50, 10},
        {1015, ControlKind::ComboBox, "", 50, 0, 40, 60, true, true, 0, 0, false, false, false,
         "Port"},
        {1011, ControlKind::Button, "", 0, 0, 1, 1, false},
        {1132, ControlKind::Button, "Connect", 50, 20, 40, 12, true, false},
    }};

} // namespace

TEST(Window, UserActionsFollowControlKindsAndReachOnlyLiveControls) {
    VirtualEventLoop loop;
    Panel p(loop);
    p.create(kPanel);
    EXPECT_EQ(p.control(1013).rect, (Rect{0, 0, 100, 20})); // dialog units are two pixels
    EXPECT_EQ(p.control(1015).accessibleName, "Port");
    p.setOpacity(300);
    EXPECT_EQ(p.opacity(), 255);

    p.click(1013);
    p.click(1014); // radios of one group exclude each other
    EXPECT_FALSE(p.isChecked(1013));
    EXPECT_TRUE(p.isChecked(1014));
    p.click(1183);
    EXPECT_TRUE(p.isChecked(1183));
    p.click(1011); // hidden
    p.click(1132); // disabled
    EXPECT_EQ(p.commands, (std::vector<std::pair<int, int>>{
                              {1013, BN_CLICKED}, {1014, BN_CLICKED}, {1183, BN_CLICKED}}));
}

TEST(Window, ComboEntriesKeepTheSelectionOnTheSameEntry) {
    VirtualEventLoop loop;
    Panel p(loop);
    p.create(kPanel);
    p.addItem(1015, "COM3");
    p.addItem(1015, "COM5");
    p.setSelection(1015, 1);
    p.insertItem(1015, 1, "COM4"); // at the selection: the selection moves on with its entry
    EXPECT_EQ(p.shownText(1015), "COM5");
    p.deleteItem(1015, 2);
    EXPECT_EQ(p.selection(1015), -1);
    EXPECT_EQ(p.shownText(1015), "");
    p.setSelection(1015, 7); // out of range clears
    EXPECT_EQ(p.selection(1015), -1);
    p.choose(1015, 1);
    EXPECT_EQ(p.commands.back(), (std::pair<int, int>{1015, CBN_SELCHANGE}));
    EXPECT_THROW(p.text(4242), std::out_of_range);
}
