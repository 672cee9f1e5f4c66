// The view renders any window from its controls and hands the user's actions back to it: the
// later pages rely on this for every control kind they use.
#include "QtTestApp.h"
#include "platform/Window.h"
#include "platform/qt/QtEventLoop.h"
#include "view/QtUiServices.h"
#include "view/QtWindowHost.h"
#include "view/ReadingOrder.h"
#include "view/WindowWidget.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

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

const std::vector<ControlTemplate> kControls{
    {1013, ControlKind::Radio, "COM Control Mode", 0, 0, 70, 10, true, true, 1},
    {1014, ControlKind::Radio, "TCP Control Mode", 0, 12, 70, 10, true, true, 1},
    {1183, ControlKind::CheckBox, "Enable Beep ", 0, 24, 70, 10},
    {1015, ControlKind::ComboBox, "", 80, 0, 60, 60, true, true, 0, 0, false, false, false, "Port"},
    {1016, ControlKind::Edit, "", 80, 20, 60, 12, true, true, 0, 0, false, false, false,
     "Matrix  IP"},
    {1132, ControlKind::Button, "Connect", 80, 40, 40, 14},
    {1100, ControlKind::Static, "Port", 0, 40, 40, 10}};
const DialogTemplate kPanel{145, "panel", 160, 80, kControls};

template <typename W> W* widget(WindowWidget& owner, int id) {
    return owner.findChild<W*>(QStringLiteral("control%1").arg(id));
}

} // namespace

TEST(WindowViewGui, ControlsFollowTheWindowAndUserActionsReachIt) {
    QtTestApp qt;
    QtEventLoop loop;
    QtUiServices ui;
    QtWindowHost host(loop, ui);
    Panel panel(loop);
    panel.create(kPanel);
    panel.show();
    WindowWidget* w = host.widgetFor(panel);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->size(), QSize(320, 160));

    auto* com = widget<QRadioButton>(*w, 1013);
    auto* tcp = widget<QRadioButton>(*w, 1014);
    auto* beep = widget<QCheckBox>(*w, 1183);
    auto* port = widget<QComboBox>(*w, 1015);
    auto* ip = widget<QLineEdit>(*w, 1016);
    auto* connect = widget<QPushButton>(*w, 1132);
    auto* label = widget<QLabel>(*w, 1100);
    ASSERT_TRUE(com && tcp && beep && port && ip && connect && label);
    EXPECT_EQ(ip->accessibleName(), QStringLiteral("Matrix  IP"));
    EXPECT_EQ(port->height(), 24); // the dropped-down list is not part of the shown box
    EXPECT_EQ(label->geometry(), QRect(0, 80, 80, 20));

    // The window's state reaches the widgets.
    panel.addItem(1015, "COM3");
    panel.addItem(1015, "COM5");
    panel.setSelection(1015, 1);
    panel.setText(1016, "192.168.1.50");
    panel.enable(1132, false);
    EXPECT_EQ(port->count(), 2);
    EXPECT_EQ(port->currentText(), QStringLiteral("COM5"));
    EXPECT_EQ(ip->text(), QStringLiteral("192.168.1.50"));
    EXPECT_FALSE(connect->isEnabled());

    // What the user does reaches the window, which stays the owner of the state.
    com->click();
    tcp->click();
    EXPECT_FALSE(panel.isChecked(1013));
    EXPECT_TRUE(panel.isChecked(1014));
    EXPECT_FALSE(com->isChecked()); // the group is unchecked by the window, not by Qt
    beep->click();
    EXPECT_TRUE(panel.isChecked(1183));
    emit port->activated(0);
    EXPECT_EQ(panel.selection(1015), 0);
    ip->setText(QStringLiteral("10.0.0.7"));
    emit ip->textEdited(ip->text());
    EXPECT_EQ(panel.text(1016), "10.0.0.7");
    panel.enable(1132, true);
    connect->click();
    const Commands expected{{1013, BN_CLICKED},    {1014, BN_CLICKED}, {1183, BN_CLICKED},
                            {1015, CBN_SELCHANGE}, {1016, EN_CHANGE},  {1132, BN_CLICKED}};
    EXPECT_EQ(panel.commands, expected);
    // Writing a text into the box is not the user typing.
    panel.setText(1016, "10.0.0.8");
    EXPECT_EQ(panel.commands.size(), 6u);

    // A button is announced as what it now says; a box keeps the label beside it.
    panel.setText(1132, "Disconnect");
    EXPECT_EQ(connect->accessibleName(), QStringLiteral("Disconnect"));
    EXPECT_EQ(ip->accessibleName(), QStringLiteral("Matrix  IP"));
}

// A stored-settings row taken, then the user's own click on the same highlighted row: it is
// taken again, so the row highlighted is always the row the window acts on.
TEST(WindowViewGui, AClickOnTheHighlightedRowTakesItAgain) {
    QtTestApp qt;
    QtEventLoop loop;
    QtUiServices ui;
    QtWindowHost host(loop, ui);
    Panel panel(loop);
    panel.create(DialogTemplate{145, "list", 160, 80,
                                {{1500, ControlKind::ListView, "", 0, 0, 150, 70}}});
    panel.setColumns(1500, {"Name"});
    panel.setRows(1500, {{"Setting 1"}, {"Setting 2"}});
    panel.show();
    auto* list = widget<QTreeWidget>(*host.widgetFor(panel), 1500);
    ASSERT_NE(list, nullptr);
    const QPoint row2 = list->visualItemRect(list->topLevelItem(1)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row2);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row2);
    EXPECT_EQ(panel.selection(1500), 1);
    EXPECT_GE(panel.commands.size(), 2u);
    for (const auto& [id, code] : panel.commands) {
        EXPECT_EQ(std::pair(id, code), std::pair(1500, int{LVN_ITEMCHANGED}));
    }
}

TEST(ReadingOrderGui, ControlsOverlappingBothWaysReadByTheirTopLeft) {
    QtTestApp qt;
    QWidget box;
    box.resize(200, 200);
    auto* tall = new QPushButton("tall", &box);
    tall->setGeometry(10, 10, 20, 100);
    auto* wide = new QPushButton("wide", &box); // over the tall one's top, across it
    wide->setGeometry(0, 0, 100, 20);
    EXPECT_EQ(readingOrder(box), (std::vector<QWidget*>{wide, tall}));
}
