// The panel with the keyboard alone, on the offscreen Qt platform over the virtual clock: Tab in
// reading order on the pages and dialogs, Ctrl+Tab between the tabs by the caption rules, Enter
// and Space on buttons, arrows in a radio group, Alt+Space for the window menu, and a focus
// frame on the flat skinned buttons.
#include "FakePlatform.h"
#include "QtTestApp.h"
#include "app/ControllerApp.h"
#include "app/MainWindow.h"
#include "netconfig/TcpConfigIds.h"
#include "pages/PageFactory.h"
#include "pages/general/GeneralIds.h"
#include "pages/general/GeneralPage.h"
#include "platform/sim/VirtualEventLoop.h"
#include "resources/ControlIds.h"
#include "view/QtUiServices.h"
#include "view/QtWindowHost.h"
#include "view/WindowWidget.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::testing;

namespace {

class Keyboard : public ::testing::Test {
protected:
    Keyboard() {
        ui.setHost(&host);
        app.start();
        main().open();
        QApplication::processEvents();
    }
    MainWindow& main() { return *app.mainWindow(); }
    WindowWidget& mainWidget() { return *host.widgetFor(main()); }
    QWidget* focused() { return mainWidget().focusWidget(); }
    QString focusedName() { return focused() == nullptr ? QString() : focused()->accessibleName(); }
    // A key as the user presses it: to the control with the focus, or to the window.
    void press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWidget* target = focused() != nullptr ? focused() : &mainWidget();
        QKeyEvent down(QEvent::KeyPress, key, mods);
        QApplication::sendEvent(target, &down);
        QKeyEvent up(QEvent::KeyRelease, key, mods);
        QApplication::sendEvent(target, &up);
        QApplication::processEvents();
    }
    // The names Tab reaches from the focused control until it comes back to it.
    QStringList tabRound(int key = Qt::Key_Tab) {
        QStringList names{focusedName()};
        QWidget* start = focused();
        for (int i = 0; i < 60; ++i) {
            press(key);
            if (focused() == start) {
                return names;
            }
            names << focusedName();
        }
        return names << "(no way back)";
    }

    QtTestApp qt;
    VirtualEventLoop loop;
    FakeNetwork network;
    FakeSerialPorts ports;
    QtUiServices ui;
    QtWindowHost host{loop, ui};
    Platform platform{loop, network, ports, ui};
    ControllerApp app{platform, AppOptions{Rect{0, 0, 1280, 800}, makePageFactory()}};
};

QStringList split(const char* names) {
    return QString::fromUtf8(names).split(QLatin1Char('|'));
}

} // namespace

QT_BEGIN_NAMESPACE
// Readable failures: the names as the user would hear them.
inline void PrintTo(const QStringList& names, std::ostream* os) {
    *os << names.join(QStringLiteral(" | ")).toStdString();
}
inline void PrintTo(const QString& name, std::ostream* os) {
    *os << name.toStdString();
}
QT_END_NAMESPACE

namespace {} // namespace

TEST_F(Keyboard, TabWalksEachPageTopToBottomAGroupAtATimeAndShiftTabWalksBack) {
    // The focus starts on the page, where the work is; Tab takes in the caption bar's buttons
    // at the top and leaves out the disabled TCP controls.
    EXPECT_EQ(focusedName(), "COM Control Mode");
    const QStringList general = tabRound();
    EXPECT_EQ(general, split("COM Control Mode|TCP Control Mode|Port|Connect|Status|Clear|"
                             "Factory Reset|Reboot|Enable Beep |Power On|Minimize|Close"));
    QStringList back = tabRound(Qt::Key_Backtab);
    std::reverse(back.begin() + 1, back.end());
    EXPECT_EQ(back, general);

    // The Matrix page: each output's inputs and arrows together, then the configuration panel.
    main().clickCaption(3);
    QApplication::processEvents();
    const QStringList matrix = tabRound();
    ASSERT_GE(matrix.size(), 30);
    EXPECT_EQ(matrix.mid(0, 7),
              split("OUTPUT A input 1|OUTPUT A input 2|OUTPUT A input 3|OUTPUT A input 4|"
                    "OUTPUT A previous input|OUTPUT A next input|OUTPUT B input 1"));
    EXPECT_EQ(matrix.mid(24, 2), split("Select Output|Output configuration input 1"));
    EXPECT_EQ(matrix.mid(matrix.size() - 5), split("Stored settings|Edit|Set|Minimize|Close"));
}

TEST_F(Keyboard, CtrlTabSwitchesTabsAsACaptionClickAndIsRefusedWhileBusy) {
    press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(app.state().ActivePage, 2);
    EXPECT_EQ(main().captionHighlight(2), 1);
    // The focus follows onto the page now shown.
    ASSERT_NE(focused(), nullptr);
    EXPECT_EQ(focused()->parentWidget(), host.widgetFor(main().page(2).window()));

    press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(app.state().ActivePage, 4);

    app.state().UpgradeRunning = true;
    press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(app.state().ActivePage, 4);
    EXPECT_EQ(main().captionHighlight(4), 1);
}

TEST_F(Keyboard, ButtonsTakeEnterAndSpaceRadiosTakeArrowsEscapeKeepsTheWindow) {
    // Arrows choose within the mode group, as a click on the radio button would.
    EXPECT_EQ(focusedName(), "COM Control Mode");
    press(Qt::Key_Down);
    EXPECT_EQ(focusedName(), "TCP Control Mode");
    EXPECT_EQ(app.state().ControlMode, kModeTcp);
    EXPECT_TRUE(main().page(1).window().isEnabled(gen::kSearch));
    press(Qt::Key_Up);
    EXPECT_EQ(app.state().ControlMode, kModeCom);

    // Enter on a check box is the window's (nothing happens on the main window); Space toggles.
    Window& general = main().page(1).window();
    while (focusedName() != "Enable Beep ") {
        press(Qt::Key_Tab);
    }
    press(Qt::Key_Return);
    EXPECT_FALSE(general.isChecked(gen::kBeep));
    press(Qt::Key_Escape);
    EXPECT_TRUE(main().isVisible());
    EXPECT_FALSE(main().modalEnded());

    // Enter and Space on a skinned button click it: Minimize minimises.
    while (focusedName() != "Minimize") {
        press(Qt::Key_Tab);
    }
    const QImage plain = [&] {
        QWidget* b = focused();
        b->clearFocus();
        QImage img = b->grab().toImage();
        b->setFocus();
        return img;
    }();
    EXPECT_NE(focused()->grab().toImage(), plain) << "no focus frame on a flat skinned button";
    press(Qt::Key_Return);
    loop.advance(0);
    EXPECT_TRUE(main().minimized());
    main().setMinimized(false);
    press(Qt::Key_Space);
    loop.advance(0);
    EXPECT_TRUE(main().minimized());
}

TEST_F(Keyboard, AltSpaceOpensTheWindowMenuFromAnyControl) {
    QStringList entries;
    QTimer::singleShot(0, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* a : menu->actions()) {
                if (!a->isSeparator()) {
                    entries << a->text();
                }
            }
            menu->close();
        }
    });
    press(Qt::Key_Space, Qt::AltModifier);
    EXPECT_EQ(entries, split("Minimize|Close|About Zentrel..."));
    EXPECT_EQ(app.state().ControlMode, kModeCom); // the focused radio saw nothing
}

TEST_F(Keyboard, TheConfigurationDialogWalksInReadingOrderAndEnterOnCancelIsCancel) {
    auto& general = dynamic_cast<GeneralPage&>(main().page(1));
    general.click(gen::kTcpRadio);
    app.state().SelectedMac = "0012A3B4C5D6";
    app.state().MatrixIp = "192.168.1.50";
    general.click(gen::kConfig);
    QApplication::processEvents();
    TcpConfigDialog& config = general.configDialog();
    ASSERT_TRUE(config.isVisible());
    WindowWidget& dialog = *host.widgetFor(config);
    // One round of Tab, read from the Close button on: the title bar, the mode, the MAC
    // address (the IP octets are disabled under Auto IP), then OK and Cancel.
    QStringList names;
    for (int i = 0; i < 22; ++i) { // two rounds
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(dialog.focusWidget() ? dialog.focusWidget() : &dialog, &tab);
        names << dialog.focusWidget()->accessibleName();
    }
    const auto close = names.indexOf("Close");
    ASSERT_GE(close, 0) << ::testing::PrintToString(names);
    EXPECT_EQ(names.mid(close, 11),
              split("Close|Auto IP|Static IP|MAC byte 1|MAC byte 2|MAC byte 3|"
                    "MAC byte 4|MAC byte 5|MAC byte 6|OK|Cancel"));
    while (dialog.focusWidget()->accessibleName() != "OK") {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(dialog.focusWidget(), &tab);
    }
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(dialog.focusWidget(), &tab);
    ASSERT_EQ(dialog.focusWidget()->accessibleName(), "Cancel");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(dialog.focusWidget(), &enter); // Cancel's own click: the dialog goes
    EXPECT_FALSE(config.isVisible());
}

TEST_F(Keyboard, EscapeClosesANoticeNamedByItsTextAndTheNextOneStillOpens) {
    app.state().ControlMode = kModeTcp; // no link: every tab change is refused with a notice
    QStringList heard;
    loop.setModalHook([&](Window& w) {
        WindowWidget* popup = host.widgetFor(w);
        ASSERT_NE(popup, nullptr);
        heard << popup->accessibleName();
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(popup, &escape);
    });
    press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_FALSE(main().notice().isVisible());
    // Escape leaves the flag to the notice's own close timer, which clears it as it would
    // have closed the pop-up; the next refusal is shown again.
    EXPECT_EQ(app.state().NoticeShown, 1);
    loop.advance(1500);
    EXPECT_EQ(app.state().NoticeShown, 0);
    press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(heard, split("Connect to Matrix failed!|Connect to Matrix failed!"));
    EXPECT_EQ(app.state().ActivePage, 3);
}
