// The real panel's Matrix page on the Qt event loop, the real serial channel and the real socket,
// against the zentrel-matrix-sim program: on a pseudo-terminal published as COM3, and on TCP
// 127.0.0.1:8000. Port 8000 is the panel's fixed port, so the TCP case moves itself into a
// private network namespace where the port is its own, and skips when it cannot make one. Real
// time passes here, in bounded waits only.
#include "FakePlatform.h"
#include "PrivateNetwork.h"
#include "SimProcess.h"
#include "app/ControllerApp.h"
#include "app/MainWindow.h"
#include "link/SerialChannelPorts.h"
#include "pages/PageFactory.h"
#include "pages/general/GeneralIds.h"
#include "pages/matrix/MatrixIds.h"
#include "pages/matrix/MatrixPage.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtNetwork.h"
#include "protocol/Commands.h"
#include "resources/ControlIds.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

using namespace zentrel;
using namespace zentrel::testing;
using zentrel::sim::test::SimProcess;

namespace {

inline void qtApplication() {
    static int argc = 1;
    static char name[] = "test_matrix";
    static char* argv[] = {name, nullptr};
    static QCoreApplication qt(argc, argv);
}

struct PanelOnQt {
    PanelOnQt() {
        app.start();
        main = app.mainWindow();
        main->open();
        general = &main->page(kPageGeneral).window();
        matrix = &dynamic_cast<MatrixPage&>(main->page(kPageMatrix));
    }

    // Runs the Qt loop until `done` holds or `ms` have passed; returns whether it holds.
    bool waitUntil(const std::function<bool()>& done, int ms = 5000) {
        for (const QDeadlineTimer wait(ms); !done() && !wait.hasExpired();) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return done();
    }
    void clickCaption(int caption) {
        const Rect r = main->control(caption).rect;
        main->onLButtonDown(Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }
    // Shows the Matrix tab and waits for its routing to be read back.
    bool showMatrix() {
        const std::size_t before = lastQueries();
        clickCaption(ctl::kMatrixCaption);
        return waitUntil([&] { return lastQueries() > before && !app.state().MatrixBusy; });
    }
    // How many times the page has asked for output 4's routing, the last of a refresh.
    std::size_t lastQueries() const {
        if (!matrix->created()) {
            return 0;
        }
        const std::string log = matrix->text(mtx::kSendLog);
        const std::string query = cmd::queryRouting(4).hex();
        std::size_t n = 0;
        for (std::size_t at = log.find(query); at != std::string::npos;
             at = log.find(query, at + 1)) {
            ++n;
        }
        return n;
    }
    // "B:3[3]" for output 2: what the box shows and which inputs are pressed.
    std::string output(int k) const {
        std::string out = std::string(1, static_cast<char>('A' + k - 1)) + ":" +
                          matrix->text(mtx::numberBox(k)) + "[";
        for (int i = 1; i <= mtx::kInputs; ++i) {
            if (matrix->isChecked(mtx::inputButton(k, i))) {
                out += std::to_string(i);
            }
        }
        return out + "]";
    }
    std::string grid() const {
        return output(1) + " " + output(2) + " " + output(3) + " " + output(4);
    }

    QtEventLoop loop;
    QtNetwork network{loop};
    SerialChannelPorts serial{loop};
    FakeUiServices ui;
    Platform platform{loop, network, serial, ui};
    ControllerApp app{platform, AppOptions{Rect{0, 0, 1280, 800}, makePageFactory()}};
    MainWindow* main = nullptr;
    Window* general = nullptr;
    MatrixPage* matrix = nullptr;
};

} // namespace

TEST(MatrixOnPty, AClickOnTheGridIsWhatTheRoutingReadsBack) {
    qtApplication();
    SimProcess sim{{"--com", "3", "--no-tcp"}};
    ASSERT_TRUE(sim.waitFor("published as")) << sim.log() << sim.errors();
    setenv("XDG_RUNTIME_DIR", sim.portLink(3).parent_path().parent_path().parent_path().c_str(), 1);
    const std::unique_ptr<const char, void (*)(const char*)> unset{
        "XDG_RUNTIME_DIR", [](const char* var) { unsetenv(var); }};
    PanelOnQt panel;
    QTimer::singleShot(30000, &panel.loop, [&] { panel.loop.postQuit(); });

    const auto& ports = panel.general->control(gen::kPortCombo).items;
    const auto com3 = std::find(ports.begin(), ports.end(), "COM3");
    ASSERT_NE(com3, ports.end());
    panel.general->choose(gen::kPortCombo, static_cast<int>(com3 - ports.begin()));
    panel.general->click(gen::kComConnect);
    ASSERT_TRUE(panel.waitUntil([&] { return panel.general->isChecked(gen::kBeep); })) << sim.log();

    ASSERT_TRUE(panel.showMatrix()) << sim.log();
    EXPECT_EQ(panel.grid(), "A:1[1] B:2[2] C:3[3] D:4[4]");

    panel.matrix->click(mtx::inputButton(2, 3));
    EXPECT_EQ(panel.output(2), "B:2[2]"); // nothing shown before the matrix confirms
    ASSERT_TRUE(panel.waitUntil([&] { return panel.output(2) == "B:3[3]"; })) << sim.log();
    panel.matrix->click(mtx::prevArrow(4));
    ASSERT_TRUE(panel.waitUntil([&] { return panel.output(4) == "D:3[3]"; })) << sim.log();

    // Back to General and to Matrix: the routing read from the matrix is the one clicked.
    // (The General page's activation runs 150 ms after its tab is chosen; it is let run first.)
    panel.clickCaption(ctl::kGeneralCaption);
    panel.waitUntil([] { return false; }, 400);
    ASSERT_TRUE(panel.showMatrix()) << sim.log();
    EXPECT_EQ(panel.grid(), "A:1[1] B:3[3] C:3[3] D:3[3]");
    EXPECT_TRUE(sim.waitFor(R"(in  COM3  A5 5B 02 03 03 00 02 00 00 00 00 00 F6)")) << sim.log();
    EXPECT_FALSE(panel.loop.quitRequested());
    EXPECT_EQ(panel.app.state().NoticeShown, 0);
}

TEST(MatrixOnTcp, AClickOnTheGridIsWhatTheRoutingReadsBack) {
    const std::string why = zentrel::test::enterPrivateNetwork();
    if (!why.empty()) {
        GTEST_SKIP() << "no private network namespace (" << why << ") for port 8000";
    }
    qtApplication();
    SimProcess sim{{"--tcp", "127.0.0.1:8000"}};
    ASSERT_TRUE(sim.waitFor("listening on TCP")) << sim.log() << sim.errors();
    PanelOnQt panel;
    QTimer::singleShot(30000, &panel.loop, [&] { panel.loop.postQuit(); });

    panel.general->click(gen::kTcpRadio);
    panel.general->addItem(gen::kIpCombo, "127.0.0.1");
    panel.general->setSelection(gen::kIpCombo, 0);
    panel.general->click(gen::kTcpConnect);
    ASSERT_TRUE(panel.waitUntil([&] { return panel.app.state().ShownConnected == 1; }))
        << sim.log();

    ASSERT_TRUE(panel.showMatrix()) << sim.log();
    EXPECT_EQ(panel.grid(), "A:1[1] B:2[2] C:3[3] D:4[4]");
    panel.matrix->click(mtx::inputButton(3, 1));
    ASSERT_TRUE(panel.waitUntil([&] { return panel.output(3) == "C:1[1]"; })) << sim.log();
    panel.clickCaption(ctl::kGeneralCaption);
    panel.waitUntil([] { return false; }, 300);
    ASSERT_TRUE(panel.showMatrix()) << sim.log();
    EXPECT_EQ(panel.grid(), "A:1[1] B:2[2] C:1[1] D:4[4]");
    EXPECT_FALSE(panel.loop.quitRequested());
}
