// What assistive technology reads and does through Qt's accessibility interface: names that
// follow what the screen shows, radio buttons that are radio buttons and whose toggle action is
// a click the window hears, and nothing offered that the window hides or places outside itself.
// Also the log box, which adds only what is new and nothing while it is hidden.
#include "QtTestApp.h"
#include "platform/Window.h"
#include "platform/qt/QtEventLoop.h"
#include "view/QtUiServices.h"
#include "view/QtWindowHost.h"
#include "view/WindowWidget.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <array>
#include <vector>

using namespace zentrel;
using namespace zentrel::testing;

namespace {

using Commands = std::vector<std::pair<int, int>>;

class Panel : public Window {
public:
    using Window::Window;
    void onCommand(int id, int code) override { commands.emplace_back(id, code); }
    Commands commands;
};

ControlTemplate named(ControlTemplate t, std::string name, std::string prefix = {}) {
    t.accessibleName = std::move(name);
    t.accessiblePrefix = std::move(prefix);
    return t;
}

const DialogTemplate kPanel{
    145,
    "Zentrel Ver6.26",
    160,
    100,
    {
        {1013, ControlKind::Radio, "COM Control Mode", 0, 0, 70, 10, true, true, 1},
        {1014, ControlKind::Radio, "TCP Control Mode", 0, 12, 70, 10, true, true, 1},
        {1183, ControlKind::CheckBox, "Enable Beep ", 0, 24, 70, 10},
        named({1190, ControlKind::Static, "", 0, 36, 80, 10}, "Input 3"),
        named({1301, ControlKind::Static, "3", 90, 36, 20, 10}, "source", "OUTPUT B source"),
        {1015, ControlKind::ComboBox, "", 80, 0, 60, 60},
        {1051, ControlKind::ComboBox, "", 200, 0, 60, 60}, // outside the 160 x 100 area
        {1, ControlKind::Button, "OK", 170, 80, 40, 14},   // outside too
        {1044, ControlKind::Edit, "", 0, 50, 150, 40, false, true, 0, 0, true, true},
    }};

struct Shown {
    QtTestApp qt;
    QtEventLoop loop;
    QtUiServices ui;
    QtWindowHost host{loop, ui};
    Panel panel{loop};
    WindowWidget* w = nullptr;

    Shown() {
        panel.create(kPanel);
        panel.show();
        w = host.widgetFor(panel);
    }
    template <typename W = QWidget> W* widget(int id) const {
        return w->findChild<W*>(QStringLiteral("control%1").arg(id));
    }
    QAccessibleInterface* access(int id) const {
        return QAccessible::queryAccessibleInterface(widget(id));
    }
};

QString name(QAccessibleInterface* a) {
    return a == nullptr ? QStringLiteral("<none>") : a->text(QAccessible::Name);
}

} // namespace

TEST(AccessibleView, NamesFollowWhatTheScreenShows) {
    Shown s;
    ASSERT_NE(s.w, nullptr);
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(s.w);
    EXPECT_EQ(name(window), QStringLiteral("Zentrel Ver6.26"));
    s.panel.setTitle("Zentrel Ver6.27");
    EXPECT_EQ(name(window), QStringLiteral("Zentrel Ver6.27"));

    QAccessibleInterface* line = s.access(1190);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->role(), QAccessible::StaticText);
    EXPECT_EQ(name(line), QStringLiteral("Input 3")) << "its own name while it shows nothing";
    s.panel.setText(1190, "HDMI IN3: Disconnect");
    EXPECT_EQ(name(line), QStringLiteral("HDMI IN3: Disconnect"));
    s.panel.setText(1190, "HDMI IN3: Connect");
    EXPECT_EQ(name(line), QStringLiteral("HDMI IN3: Connect"));

    // A number box among others of the same caption carries its group and follows its text.
    EXPECT_EQ(name(s.access(1301)), QStringLiteral("OUTPUT B source 3"));
    s.panel.setText(1301, "4");
    EXPECT_EQ(name(s.access(1301)), QStringLiteral("OUTPUT B source 4"));
}

TEST(AccessibleView, ToggleActionsActExactlyAsClicks) {
    Shown s;
    QAccessibleInterface* tcp = s.access(1014);
    ASSERT_NE(tcp, nullptr);
    EXPECT_EQ(tcp->role(), QAccessible::RadioButton);
    EXPECT_TRUE(tcp->state().checkable);
    ASSERT_NE(tcp->actionInterface(), nullptr);
    const QString toggle = QAccessibleActionInterface::toggleAction();
    ASSERT_TRUE(tcp->actionInterface()->actionNames().contains(toggle));

    tcp->actionInterface()->doAction(toggle);
    EXPECT_EQ(s.panel.commands, (Commands{{1014, BN_CLICKED}})) << "the window hears it";
    EXPECT_TRUE(s.panel.isChecked(1014));
    EXPECT_TRUE(tcp->state().checked);
    s.panel.commands.clear();

    // Toggled back by the tool, the radio stays checked as with a click on a checked radio.
    tcp->actionInterface()->doAction(toggle);
    EXPECT_EQ(s.panel.commands, (Commands{{1014, BN_CLICKED}}));
    EXPECT_TRUE(s.panel.isChecked(1014));
    s.panel.commands.clear();

    // The mouse still reaches the window once per click, and the window unchecks the group.
    s.widget<QRadioButton>(1013)->click();
    EXPECT_EQ(s.panel.commands, (Commands{{1013, BN_CLICKED}}));
    EXPECT_FALSE(tcp->state().checked);
    s.panel.commands.clear();

    QAccessibleInterface* beep = s.access(1183);
    beep->actionInterface()->doAction(toggle);
    EXPECT_EQ(s.panel.commands, (Commands{{1183, BN_CLICKED}}));
    EXPECT_TRUE(beep->state().checked);
    // A window that sets the box back itself is obeyed: the box shows the window's state.
    s.panel.setChecked(1183, false);
    EXPECT_FALSE(beep->state().checked);
}

TEST(AccessibleView, HiddenAndOffAreaControlsAreNeitherFocusableNorShown) {
    Shown s;
    for (int id : {1051, 1}) {
        SCOPED_TRACE(id);
        QAccessibleInterface* a = s.access(id);
        ASSERT_NE(a, nullptr);
        EXPECT_TRUE(a->state().invisible);
        EXPECT_FALSE(a->state().focusable);
        EXPECT_FALSE(s.widget(id)->isVisible());
    }
    QAccessibleInterface* port = s.access(1015);
    EXPECT_FALSE(port->state().invisible);
    EXPECT_TRUE(port->state().focusable);
    s.panel.showControl(1015, false);
    EXPECT_TRUE(port->state().invisible);
    EXPECT_FALSE(port->state().focusable);
    s.panel.showControl(1015, true);
    EXPECT_TRUE(port->state().focusable) << "shown again, it takes focus as before";

    // Moved inside the area, the off-area box becomes a control like the others.
    s.panel.setRect(1051, Rect{160, 0, 280, 48});
    EXPECT_TRUE(s.widget(1051)->isVisible());
    EXPECT_TRUE(s.access(1051)->state().focusable);
}

TEST(LogBox, AddsOnlyWhatIsNewAndNothingWhileHidden) {
    Shown s;
    auto* box = s.widget<QPlainTextEdit>(1044);
    ASSERT_NE(box, nullptr);
    // Every change of the box's document: where, how much removed, how much added.
    std::vector<std::array<int, 3>> edits;
    QObject::connect(box->document(), &QTextDocument::contentsChange,
                     [&](int at, int removed, int added) {
                         edits.push_back({at, removed, added});
                     });
    for (int i = 0; i < 100; ++i) {
        s.panel.appendText(1044, "A5 ");
    }
    QApplication::processEvents();
    EXPECT_EQ(edits.size(), 0u) << "a hidden box is not kept current";
    EXPECT_TRUE(box->toPlainText().isEmpty());

    s.panel.showControl(1044, true);
    QApplication::processEvents();
    EXPECT_EQ(box->toPlainText(), QString("A5 ").repeated(100)) << "drawn when shown";

    edits.clear();
    s.panel.appendText(1044, "5B ");
    s.panel.appendText(1044, "01 \r\n");
    QApplication::processEvents();
    ASSERT_EQ(edits.size(), 1u) << "one insertion for what a turn of the loop added";
    EXPECT_EQ(edits[0][0], 300); // at the end
    EXPECT_EQ(edits[0][1], 0);   // nothing removed
    EXPECT_EQ(box->toPlainText(), QString("A5 ").repeated(100) + "5B 01 \n");

    // A new text replaces the box; past the bound the box shows the window's kept tail.
    s.panel.setText(1044, "Cleared\r\n");
    QApplication::processEvents();
    EXPECT_EQ(box->toPlainText(), QStringLiteral("Cleared\n"));
    const std::string line = "A5 5B 01 0B 00 00 00 00 00 00 00 00 F4 \r\n";
    for (std::size_t n = 0; n < 2 * Window::kTextLimit / line.size(); ++n) {
        s.panel.appendText(1044, line);
    }
    QApplication::processEvents();
    QString kept = QString::fromStdString(s.panel.text(1044));
    kept.remove(QLatin1Char('\r'));
    EXPECT_EQ(box->toPlainText(), kept);
    EXPECT_LE(s.panel.text(1044).size(), Window::kTextLimit);
}
