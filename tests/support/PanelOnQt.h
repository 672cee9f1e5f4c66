#pragma once
// The real panel on the Qt event loop, the real serial channel and the real sockets, for the
// integration tests that run it against the zentrel-matrix-sim program. Real time passes here,
// in bounded waits only.
#include "FakePlatform.h"
#include "app/ControllerApp.h"
#include "app/MainWindow.h"
#include "link/SerialChannelPorts.h"
#include "pages/PageFactory.h"
#include "pages/general/GeneralIds.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtNetwork.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <string>

namespace zentrel::testing {

struct PanelOnQt {
    // The Qt application must exist before the loop; one per test program.
    static bool qtApplication() {
        static int argc = 1;
        static char name[] = "test_panel";
        static char* argv[] = {name, nullptr};
        static QCoreApplication qt(argc, argv);
        return true;
    }

    // `quitAfterMs` ends a nested loop that would hang, so that the checks fail instead;
    // `profiles`, when given, is where the panel keeps what it keeps.
    explicit PanelOnQt(int quitAfterMs = 30000, ProfileStore* profiles = nullptr)
        : keptIn(profiles) {
        started = app.start();
        main = app.mainWindow();
        main->open();
        general = &main->page(kPageGeneral).window();
        QTimer::singleShot(quitAfterMs, &loop, [this] { loop.postQuit(); });
    }

    // Runs the Qt loop until `done` holds or `ms` have passed; returns whether it holds.
    static bool waitUntil(const std::function<bool()>& done, int ms = 5000) {
        for (const QDeadlineTimer wait(ms); !done() && !wait.hasExpired();) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return done();
    }
    void clickCaption(int caption) {
        const Rect r = main->control(caption).rect;
        main->onLButtonDown(Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }
    // Chooses the port by its name on the General page and opens it; false if it is not listed.
    bool connectCom(const std::string& name) {
        const auto& ports = general->control(gen::kPortCombo).items;
        const auto at = std::find(ports.begin(), ports.end(), name);
        if (at == ports.end()) {
            return false;
        }
        general->choose(gen::kPortCombo, static_cast<int>(at - ports.begin()));
        general->click(gen::kComConnect);
        return true;
    }

    bool qt = qtApplication();
    QtEventLoop loop;
    QtNetwork network{loop};
    SerialChannelPorts serial{loop};
    FakeUiServices ui;
    Platform platform{loop, network, serial, ui};
    ProfileStore* keptIn = nullptr;
    ControllerApp app{platform, AppOptions{Rect{0, 0, 1280, 800}, makePageFactory(), keptIn}};
    bool started = false;
    MainWindow* main = nullptr;
    Window* general = nullptr;
};

} // namespace zentrel::testing
