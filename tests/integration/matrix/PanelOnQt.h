#pragma once
// The real panel on the Qt event loop, the real serial channels and sockets, with the General
// and Matrix pages, for tests against the zentrel-matrix-sim program. Real time passes here, in
// bounded waits only.
#include "app/ControllerApp.h"
#include "app/MainWindow.h"
#include "link/SerialChannelPorts.h"
#include "pages/general/GeneralPageFactory.h"
#include "pages/matrix/MatrixIds.h"
#include "pages/matrix/MatrixPage.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtNetwork.h"
#include "protocol/Commands.h"
#include "resources/ControlIds.h"
#include "unit/app/FakePlatform.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <functional>
#include <string>

namespace zentrel::testing {

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
    ControllerApp app{platform, AppOptions{Rect{0, 0, 1280, 800}, makeGeneralPageFactory()}};
    MainWindow* main = nullptr;
    Window* general = nullptr;
    MatrixPage* matrix = nullptr;
};

} // namespace zentrel::testing
