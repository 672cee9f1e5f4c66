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

using MainWindowLayout = ShellTest;

TEST(MainWindowEnd, CloseButtonEndsTheModalRunAndDestroysTheWindow) {
    Shell shell(false);
    shell.onMainModal([](MainWindow& main) { main.click(ctl::kClose); });
    EXPECT_EQ(shell.app.run(), 0);
    EXPECT_TRUE(shell.loop.quitRequested());
    EXPECT_EQ(shell.app.mainWindow(), nullptr);
}

using MainWindowSystemMenu = ShellTest;
