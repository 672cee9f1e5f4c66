// The panel program: the Qt backend under the application shell. It takes no arguments and
// reads no configuration; every run starts from the defaults.
#include "app/ControllerApp.h"
#include "link/SerialChannelPorts.h"
#include "pages/PageFactory.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtNetwork.h"
#include "resources/ResourceIds.h"
#include "view/IconPainter.h"
#include "view/QtUiServices.h"
#include "view/QtWindowHost.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>

int main(int argc, char** argv) {
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
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect g = screen->availableGeometry();
        options.screen =
            zentrel::Rect{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    }
    zentrel::ControllerApp app(platform, options);
    return app.run();
}
