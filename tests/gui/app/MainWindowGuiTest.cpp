// The real main window on the offscreen Qt platform: built by the view from its template, with
// the title, size, caption bar colours and captions the user sees, and a caption click that
// reaches the window through the view.
#include "FakePlatform.h"
#include "QtTestApp.h"
#include "StubPage.h"
#include "app/ControllerApp.h"
#include "app/MainWindow.h"
#include "platform/qt/QtEventLoop.h"
#include "view/QtUiServices.h"
#include "view/QtWindowHost.h"
#include "view/WindowWidget.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::testing;

namespace {

QColor pixel(QWidget& w, int x, int y) {
    return w.grab().toImage().pixelColor(x, y);
}

} // namespace

TEST(MainWindowGui, TheRealWindowShowsTitleSizeCaptionBarAndFourCaptions) {
    QtTestApp qt;
    QtEventLoop loop;
    FakeNetwork network;
    FakeSerialPorts ports;
    QtUiServices ui;
    QtWindowHost host(loop, ui);
    Platform platform{loop, network, ports, ui};
    ControllerApp app(platform, AppOptions{Rect{0, 0, 1280, 800}, StubPage::factory()});
    ASSERT_TRUE(app.start());
    MainWindow& main = *app.mainWindow();
    main.open();
    QApplication::processEvents();

    WindowWidget* w = host.widgetFor(main);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isWindow());
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Zentrel Ver6.26"));
    EXPECT_EQ(w->accessibleName(), QStringLiteral("Zentrel Ver6.26"));
    EXPECT_EQ(w->size(), QSize(652, 550));

    QStringList captions;
    for (QLabel* label : w->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (label->isVisible() && !label->text().isEmpty()) {
            captions << label->text();
        }
    }
    for (const char* text : {"Zentrel Ver6.26", "General", "EDID", "Matrix", "FW Upgrade"}) {
        EXPECT_TRUE(captions.contains(QString::fromLatin1(text))) << text;
    }

    // Every control, icons and frames included, is named for screen readers; the title by what
    // it shows.
    for (QWidget* c : w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (c->objectName().startsWith(QStringLiteral("control"))) {
            EXPECT_FALSE(c->accessibleName().isEmpty()) << c->objectName().toStdString();
        }
    }
    EXPECT_EQ(w->findChild<QWidget*>(QStringLiteral("control1130"))->accessibleName(),
              QStringLiteral("Zentrel Ver6.26"));

    // Caption blue behind the title, the light selected tab, and the grey frame at the edge.
    EXPECT_EQ(pixel(*w, 160, 3), QColor(240, 245, 230));
    EXPECT_EQ(pixel(*w, 300, 3), QColor(30, 144, 225));
    EXPECT_EQ(pixel(*w, 580, 20), QColor(30, 144, 225));
    EXPECT_EQ(pixel(*w, 0, 300), QColor(160, 160, 160));
    EXPECT_EQ(pixel(*w, 651, 300), QColor(160, 160, 160));

    // The General page sits inside the window, below the caption bar.
    WindowWidget* general = host.widgetFor(main.page(1).window());
    ASSERT_NE(general, nullptr);
    EXPECT_EQ(general->parentWidget(), w);
    EXPECT_TRUE(general->isVisible());
    EXPECT_EQ(general->geometry().top(), 28);

    // A press on the EDID caption goes through the view to the window.
    auto send = [&](QEvent::Type type, QPointF local, Qt::MouseButtons held) {
        QMouseEvent e(type, local, w->mapToGlobal(local), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    };
    send(QEvent::MouseButtonPress, QPointF(300, 12), Qt::LeftButton);
    EXPECT_EQ(app.state().ActivePage, 2);
    WindowWidget* edid = host.widgetFor(main.page(2).window());
    ASSERT_NE(edid, nullptr);
    EXPECT_TRUE(edid->isVisible());
    EXPECT_FALSE(general->isVisible());
    EXPECT_EQ(pixel(*w, 300, 3), QColor(240, 245, 230));

    // A drag on the title moves the window, and the shell learns where it went.
    const QPoint before = w->pos();
    send(QEvent::MouseButtonPress, QPointF(60, 12), Qt::LeftButton);
    send(QEvent::MouseMove, QPointF(90, 52), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, QPointF(90, 52), Qt::NoButton);
    QApplication::processEvents();
    EXPECT_NE(w->pos(), before);
    EXPECT_EQ(app.state().MainClientRect.left, w->pos().x());
    EXPECT_EQ(app.state().MainClientRect.top, w->pos().y());
    EXPECT_EQ(app.state().MainClientRect.right - app.state().MainClientRect.left, 652);
}
