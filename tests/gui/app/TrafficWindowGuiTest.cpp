// The traffic log on the screen: the text the box shows is the text assistive tools read, the
// text "Copy all" and Ctrl+C put on the clipboard, and the window is announced by its title.
#include "QtTestApp.h"
#include "app/TrafficWindow.h"
#include "pages/common/TrafficRecorder.h"
#include "platform/qt/QtEventLoop.h"
#include "view/QtUiServices.h"
#include "view/QtWindowHost.h"
#include "view/WindowWidget.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::testing;

TEST(TrafficWindowView, ScreenReaderAndClipboardGetWhatTheBoxShows) {
    QtTestApp qt;
    QtEventLoop loop;
    QtUiServices ui;
    QtWindowHost host{loop, ui};
    TrafficRecorder recorder(loop);
    TrafficWindow window(loop, ui, recorder);
    recorder.record(1, TrafficDirection::Sent, "A5 5B 01 04 01 00 00 00 00 00 00 00 FA");
    window.open(Rect{0, 0, 600, 500}, Rect{0, 0, 1280, 800});
    recorder.record(3, TrafficDirection::Received, "A5 5B 02 03 03 00 02 00 00 00 00 00 F6");
    QApplication::processEvents();

    WindowWidget* w = host.widgetFor(window);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isWindow());
    EXPECT_EQ(QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name), "Traffic log");
    auto* box =
        w->findChild<QPlainTextEdit*>(QStringLiteral("control%1").arg(TrafficWindow::kText));
    ASSERT_NE(box, nullptr);
    const QString shown = box->toPlainText();
    EXPECT_EQ(shown.toStdString(), window.text(TrafficWindow::kText));
    EXPECT_EQ(shown.count('\n'), 2);

    QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(box)->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(0, text->characterCount()), shown);

    QGuiApplication::clipboard()->clear();
    auto* copyAll =
        w->findChild<QPushButton*>(QStringLiteral("control%1").arg(TrafficWindow::kCopyAll));
    ASSERT_NE(copyAll, nullptr);
    copyAll->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), shown);

    // A selection of the read-only box copies with Ctrl+C.
    QTextCursor c(box->document());
    c.movePosition(QTextCursor::NextBlock);
    c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    box->setTextCursor(c);
    QKeyEvent copy(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier, QStringLiteral("\x03"));
    QApplication::sendEvent(box, &copy);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), shown.section('\n', 1, 1));
    EXPECT_TRUE(QGuiApplication::clipboard()->text().endsWith("F6"));
}
