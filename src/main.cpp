// The panel program: the Qt backend under the application shell. What it keeps between runs is
// in the profile folder ($XDG_CONFIG_HOME/zentrel). Its only options are --version and --help: the
// rest of the command line is Qt's.
#include "ZentrelVersion.h"
#include "app/ControllerApp.h"
#include "link/SerialChannelPorts.h"
#include "pages/PageFactory.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtNetwork.h"
#include "profile/PosixProfileFiles.h"
#include "profile/ProfileStore.h"
#include "resources/ResourceIds.h"
#include "view/IconPainter.h"
#include "view/QtUiServices.h"
#include "view/QtWindowHost.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>

#include <CLI/CLI.hpp>

#include <string>

int main(int argc, char** argv) {
    // Read before QApplication, so --version answers without a display.
    CLI::App cli{"Control panel for a 4x4 HDMI matrix switcher", "zentrel"};
    cli.set_version_flag("--version", std::string("zentrel ") + ZENTREL_VERSION);
    cli.allow_extras();
    CLI11_PARSE(cli, argc, argv);

    QApplication qt(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zentrel"));
    QApplication::setWindowIcon(QIcon(zentrel::iconPixmap(zentrel::res::kAppIcon)));

    zentrel::QtEventLoop loop;
    zentrel::QtNetwork network(loop);
    zentrel::SerialChannelPorts serial(loop);
    zentrel::QtUiServices ui;
    zentrel::QtWindowHost host(loop, ui);
    ui.setHost(&host);
    zentrel::Platform platform{loop, network, serial, ui};

    zentrel::AppOptions options;
    options.pageFactory = zentrel::makePageFactory();
    zentrel::PosixProfileFiles files;
    zentrel::ProfileStore profiles(zentrel::ProfileStore::defaultFolder(), files);
    options.profiles = &profiles;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect g = screen->availableGeometry();
        options.screen =
            zentrel::Rect{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    }
    zentrel::ControllerApp app(platform, options);
    return app.run();
}
