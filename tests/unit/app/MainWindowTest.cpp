// Start-up, the laid-out caption bar, and the ways the program ends.
#include "ShellFixture.h"
#include "app/SystemCommands.h"
#include "platform/WindowObserver.h"
#include "resources/ControlIds.h"
#include "resources/ResourceIds.h"

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::testing;

namespace {

class CountingObserver : public WindowObserver {
public:
    void windowCreated(Window&) override { ++created; }
    void windowChanged(Window&) override {}
    void controlChanged(Window&, int) override {}
    void windowDestroyed(Window&) override {}
    int created = 0;
};

} // namespace

TEST(StartUp, WithoutASocketTheProgramEndsBeforeAnyWindow) {
    Shell shell(false);
    CountingObserver observer;
    shell.loop.setObserver(&observer);
    shell.network.failTcp = true;
    EXPECT_EQ(shell.app.run(), 1);
    EXPECT_EQ(shell.app.mainWindow(), nullptr);
    EXPECT_EQ(observer.created, 0);
    EXPECT_EQ(shell.loop.mainWindow(), nullptr);
}

TEST(StartUp, TheControlSocketComesFirstAndIsNotConnected) {
    Shell shell(false);
    ASSERT_TRUE(shell.app.start());
    EXPECT_EQ(shell.network.tcpRequests, 1);
    ASSERT_NE(shell.network.last(), nullptr);
    EXPECT_EQ(shell.network.last()->connectedTo, "");
    EXPECT_EQ(shell.loop.mainWindow(), shell.app.mainWindow());
}

using MainWindowLayout = ShellTest;

TEST_F(MainWindowLayout, GeneralPageIsShownAndHighlightedWithNothingActivated) {
    EXPECT_TRUE(shell.page(1).created());
    EXPECT_TRUE(shell.page(1).isVisible());
    EXPECT_FALSE(shell.page(2).created() || shell.page(3).created() || shell.page(4).created());
    EXPECT_EQ(m.captionHighlight(1), 1);

    shell.loop.advance(1000);
    EXPECT_EQ(shell.page(1).activations(), 0); // the others do not exist
}

TEST_F(MainWindowLayout, CaptionsShowAHandAndEverywhereElseDragsTheWindow) {
    const Rect edid = m.control(ctl::kEdidCaption).rect;
    const Point onCaption{edid.left + 3, edid.top + 3};
    const Point onTitle{40, 10};
    EXPECT_TRUE(m.handCursorAt(onCaption));
    EXPECT_FALSE(m.dragsWindowAt(onCaption));
    EXPECT_FALSE(m.handCursorAt(onTitle));
    EXPECT_TRUE(m.dragsWindowAt(onTitle));
    EXPECT_TRUE(m.dragsWindowAt(Point{300, 300}));
    // The separator pixel between two captions belongs to neither.
    EXPECT_EQ(m.captionAt(Point{m.control(ctl::kGeneralCaption).rect.right, 5}), 0);
    EXPECT_TRUE(m.windowMenuAt(onTitle));
    EXPECT_TRUE(m.windowMenuAt(Point{5, 5}));
    EXPECT_FALSE(m.windowMenuAt(onCaption));
}

TEST(MainWindowEnd, CloseButtonEndsTheModalRunAndDestroysTheWindow) {
    Shell shell(false);
    shell.onMainModal([](MainWindow& main) { main.click(ctl::kClose); });
    EXPECT_EQ(shell.app.run(), 0);
    EXPECT_TRUE(shell.loop.quitRequested());
    EXPECT_EQ(shell.app.mainWindow(), nullptr);
}

TEST(MainWindowEnd, EnterAndEscapeKeepTheProgramAndWindowCloseEndsIt) {
    Shell shell(false);
    shell.onMainModal([&](MainWindow& main) {
        main.onOk();
        main.onCancel();
        shell.loop.schedule(1000, [&main] { EXPECT_TRUE(main.onCloseRequest()); });
    });
    EXPECT_EQ(shell.app.run(), 0);
    EXPECT_EQ(shell.loop.nowMs(), 1000);
    EXPECT_FALSE(shell.loop.quitRequested());
}

using MainWindowSystemMenu = ShellTest;

TEST_F(MainWindowSystemMenu, AboutEntryReplacesMoveAndOpensTheAboutBox) {
    const auto menu = m.windowMenu();
    for (const MenuEntry& e : menu) {
        EXPECT_NE(e.command & 0xFFF0, SC_MOVE) << e.text;
    }
    ASSERT_GE(menu.size(), 2u);
    EXPECT_EQ(menu[menu.size() - 2].command, 0u); // separator
    EXPECT_EQ(menu.back().command, SC_ABOUT);

    int aboutOpenings = 0;
    shell.loop.setModalHook([&](Window& w) {
        ASSERT_EQ(&w, &m.aboutBox());
        ++aboutOpenings;
        ASSERT_TRUE(w.hasControl(ctl::kAboutIcon));
        EXPECT_EQ(w.control(ctl::kAboutIcon).icon, res::kAppIcon);
        EXPECT_NE(w.text(ctl::kAboutVersion).find("6.26"), std::string::npos);
        const Rect g = w.geometry();
        EXPECT_EQ(g.left, m.geometry().left + (m.geometry().width() - g.width()) / 2);
        EXPECT_EQ(g.top, m.geometry().top + (m.geometry().height() - g.height()) / 2);
        w.click(IDOK);
    });
    m.onSystemCommand(0x10);
    m.onSystemCommand(0x1F);
    EXPECT_EQ(aboutOpenings, 2);
    m.onSystemCommand(0x20);
    EXPECT_EQ(aboutOpenings, 2);
    EXPECT_FALSE(m.aboutBox().isVisible());
}
