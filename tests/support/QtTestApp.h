#pragma once
// The Qt application of one GUI test: made and destroyed inside the test, so nothing of Qt is
// left for the program's exit to tear down. Without a display it uses Qt's offscreen platform.
#include <QApplication>

namespace zentrel::testing {

inline int& offscreenUnlessSet(int& argc) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    return argc;
}

struct QtTestApp {
    int argc = 1;
    char name[17] = "zentrel-gui-test";
    char* argv[2] = {name, nullptr};
    QApplication app{offscreenUnlessSet(argc), argv};
};

} // namespace zentrel::testing
