// The panel with the keyboard alone, offscreen over the virtual clock: Tab in reading order,
// Ctrl+Tab by the caption rules, Enter and Space on buttons, arrows in a radio group, Alt+Space,
// Escape on a notice, and a focus frame on the flat skinned buttons.
#include "FakePlatform.h"
#include "QtTestApp.h"
#include "app/ControllerApp.h"
#include "app/MainWindow.h"
#include "pages/PageFactory.h"
#include "pages/general/GeneralIds.h"
#include "pages/general/GeneralPage.h"
#include "platform/sim/VirtualEventLoop.h"
#include "view/QtUiServices.h"
#include "view/QtWindowHost.h"
#include "view/WindowWidget.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::testing;

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << s.toStdString();
}
QT_END_NAMESPACE

namespace {

QStringList split(const char* names) {
    return QString::fromUtf8(names).split(QLatin1Char('|'));
}

class Keyboard : public ::testing::Test {
protected:
    Keyboard() {
        ui.setHost(&host);
        app.start();
        main().open();
        QApplication::processEvents();
    }
    MainWindow& main() { return *app.mainWindow(); }
    QWidget* focused(Window& w) { return host.widgetFor(w)->focusWidget(); }
    QString name(Window& w) { return focused(w) ? focused(w)->accessibleName() : QString(); }
    // A key as the user presses it, to the control with the focus or else to the window.
    void press(int key, Qt::KeyboardModifiers mods = {}, Window* w = nullptr) {
        Window& target = w ? *w : main();
        QWidget* to = focused(target) ? focused(target) : host.widgetFor(target);
        QKeyEvent down(QEvent::KeyPress, key, mods), up(QEvent::KeyRelease, key, mods);
        QApplication::sendEvent(to, &down);
        QApplication::sendEvent(to, &up);
        QApplication::processEvents();
    }
    // The names one round of `key` reaches, starting at the control named `from`.
    QString round(const char* from, int key = Qt::Key_Tab, Window* w = nullptr) {
        Window& target = w ? *w : main();
        for (int i = 0; i < 60 && name(target) != from; ++i) {
            press(Qt::Key_Tab, {}, &target);
        }
        QStringList names{name(target)};
        for (press(key, {}, &target); name(target) != from && names.size() < 60;
             press(key, {}, &target)) {
            names << name(target);
        }
        return names.join(QLatin1Char('|'));
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

} // namespace

TEST_F(Keyboard, TabWalksPagesAndDialogsTopToBottomAGroupAtATime) {
    // The focus starts on the page; the disabled TCP controls are left out.
    EXPECT_EQ(name(main()), "COM Control Mode");
    EXPECT_EQ(round("COM Control Mode"),
              "COM Control Mode|TCP Control Mode|Port|Connect|Status|Clear|Factory Reset|"
              "Reboot|Enable Beep |Power On|Minimize|Close");
    EXPECT_EQ(round("Power On", Qt::Key_Backtab), "Power On|Enable Beep |Reboot|Factory Reset|"
                                                  "Clear|Status|Connect|Port|TCP Control Mode|"
                                                  "COM Control Mode|Close|Minimize");
    // The Matrix page: one output's inputs and arrows, then the next output's.
    main().clickCaption(3);
    EXPECT_TRUE(round("OUTPUT A input 1")
                    .startsWith("OUTPUT A input 1|OUTPUT A input 2|OUTPUT A input 3|"
                                "OUTPUT A input 4|OUTPUT A previous input|OUTPUT A next input|"
                                "OUTPUT B input 1"));
    // The configuration dialog: Close in its title bar, the mode, the MAC address (the IP
    // octets are disabled under Auto IP), OK and Cancel; Enter on Cancel is Cancel's click.
    auto& general = dynamic_cast<GeneralPage&>(main().page(1));
    general.click(gen::kTcpRadio);
    app.state().SelectedMac = "0012A3B4C5D6";
    general.click(gen::kConfig);
    QApplication::processEvents();
    Window& config = general.configDialog();
    EXPECT_EQ(round("Close", Qt::Key_Tab, &config),
              "Close|Auto IP|Static IP|MAC byte 1|MAC byte 2|MAC byte 3|MAC byte 4|MAC byte 5|"
              "MAC byte 6|OK|Cancel");
    press(Qt::Key_Backtab, Qt::ShiftModifier, &config);
    press(Qt::Key_Return, {}, &config);
    EXPECT_FALSE(config.isVisible());
}

TEST_F(Keyboard, KeysActAsClicksAndCtrlTabFollowsTheCaptionRules) {
    press(Qt::Key_Down); // the radio group: arrows choose, as a click would
    EXPECT_EQ(name(main()), "TCP Control Mode");
    EXPECT_EQ(app.state().ControlMode, kModeTcp);
    press(Qt::Key_Up);
    EXPECT_EQ(app.state().ControlMode, kModeCom);

    round("Enable Beep "); // Enter on a check box is the window's: nothing on the main window
    press(Qt::Key_Return);
    press(Qt::Key_Escape);
    EXPECT_FALSE(main().page(1).window().isChecked(gen::kBeep));
    EXPECT_FALSE(main().modalEnded());

    round("Minimize"); // a flat skinned button shows its focus and takes Enter and Space
    QWidget* minimize = focused(main());
    const QImage withFocus = minimize->grab().toImage();
    minimize->clearFocus();
    EXPECT_NE(minimize->grab().toImage(), withFocus);
    minimize->setFocus();
    for (int key : {Qt::Key_Return, Qt::Key_Space}) {
        main().setMinimized(false);
        press(key);
        loop.advance(0);
        EXPECT_TRUE(main().minimized()) << key;
    }

    press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(app.state().ActivePage, 2);
    EXPECT_EQ(name(main()), "Minimize"); // the caption bar keeps the focus
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(app.state().ActivePage, 1); // from a page the focus follows onto the page shown
    EXPECT_EQ(focused(main())->parentWidget(), host.widgetFor(main().page(1).window()));
    press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(app.state().ActivePage, 4);
    app.state().UpgradeRunning = true;
    press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(main().captionHighlight(4), 1);
}

TEST_F(Keyboard, AltSpaceOpensTheWindowMenuAndEscapeClosesANoticeNamedByItsText) {
    QStringList entries;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        for (QAction* a : menu->actions()) {
            entries << a->text();
        }
        menu->close();
    });
    press(Qt::Key_Space, Qt::AltModifier);
    EXPECT_EQ(entries, split("Minimize|Close||Show traffic log||Port names...|Export settings...|"
                             "Import settings...||About Zentrel..."));
    EXPECT_EQ(app.state().ControlMode, kModeCom); // the focused radio button saw nothing

    app.state().ControlMode = kModeTcp; // no link: a tab change is refused with a notice
    QStringList heard;
    loop.setModalHook([&](Window& w) {
        heard << host.widgetFor(w)->accessibleName();
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(host.widgetFor(w), &escape);
    });
    press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_FALSE(main().notice().isVisible());
    // Escape leaves the flag to the caller's close timer, which clears it; the next refusal
    // shows again.
    loop.advance(1500);
    press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(heard, split("Connect to Matrix failed!|Connect to Matrix failed!"));
}
