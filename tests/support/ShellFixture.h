#pragma once
// A fresh application on the virtual clock with the recording fakes below it.
#include "FakePlatform.h"
#include "SpyPage.h"
#include "app/ControllerApp.h"
#include "app/MainWindow.h"
#include "platform/sim/VirtualEventLoop.h"

#include <gtest/gtest.h>

#include <functional>

namespace zentrel::testing {

// The application started and its main window open, as after start-up on a 1280 x 800 screen.
struct Shell {
    VirtualEventLoop loop;
    FakeNetwork network;
    FakeSerialPorts serial;
    FakeUiServices ui;
    Platform platform{loop, network, serial, ui};
    ControllerApp app{platform, AppOptions{Rect{0, 0, 1280, 800}, SpyPage::factory()}};
    MainWindow* main = nullptr;

    explicit Shell(bool openWindow = true) {
        if (openWindow && app.start()) {
            main = app.mainWindow();
            main->open();
        }
    }
    SharedState& state() { return app.state(); }
    SpyPage& page(int n) { return dynamic_cast<SpyPage&>(main->page(n)); }
    FakeSerialLink& link(int n) { return dynamic_cast<FakeSerialLink&>(*page(n).serialLink()); }
    // A left click in the middle of a control of the main window.
    void clickAt(int id) {
        const Rect r = main->control(id).rect;
        main->onLButtonDown(Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }
    // Runs FN whenever the main window (made by run()) enters its modal loop.
    void onMainModal(std::function<void(MainWindow&)> fn) {
        loop.setModalHook([this, fn](Window& w) {
            if (&w == app.mainWindow()) {
                fn(*app.mainWindow());
            }
        });
    }
};

// A test on the opened shell, with its main window at hand.
class ShellTest : public ::testing::Test {
protected:
    Shell shell;
    MainWindow& m = *shell.main;
};

} // namespace zentrel::testing
