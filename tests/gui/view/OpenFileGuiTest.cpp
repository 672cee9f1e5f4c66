// The open-file dialog of the pages: the filter as the pages write it, a full path typed into
// the file-name field, and the folder it starts in the next time.
#include "QtTestApp.h"
#include "view/QtUiServices.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::testing;

namespace {

// Answers the next open-file dialog from inside its own loop: types `text` into its file-name
// field and presses Enter, or cancels when `text` is empty. Records the folder it opened in.
void answerNextDialog(const QString& text, QString* openedIn) {
    QTimer::singleShot(0, [text, openedIn] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        *openedIn = dialog->directory().absolutePath();
        if (text.isEmpty()) {
            dialog->reject();
            return;
        }
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        name->setText(text);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(name, &press);
        QApplication::sendEvent(name, &release);
    });
}

void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
}

} // namespace

TEST(OpenFileGui, FilterTextBecomesQtFiltersInBothCasesWithTheExtensionAsDefault) {
    EXPECT_EQ(QtUiServices::nameFilters("Binary file(*.BIN)|*.BIN||"),
              QStringList{"Binary file(*.BIN) (*.BIN *.bin)"});
    EXPECT_EQ(QtUiServices::nameFilters("Binary file(*.fw)|*.fw||"),
              QStringList{"Binary file(*.fw) (*.fw *.FW)"});
    EXPECT_EQ(QtUiServices::nameFilters("A(*.a;*.b)|*.a;*.b|All(*.*)|*.*||"),
              (QStringList{"A(*.a;*.b) (*.a *.A *.b *.B)", "All(*.*) (*.*)"}));
    EXPECT_EQ(QtUiServices::defaultSuffix("Binary file(*.BIN)|*.BIN||"), "BIN");
    EXPECT_EQ(QtUiServices::defaultSuffix("All(*.*)|*.*||"), "");
    EXPECT_TRUE(QtUiServices::nameFilters("").isEmpty());
}

TEST(OpenFileGui, TypedFullPathIsTakenAndItsFolderIsWhereTheNextDialogOpens) {
    QtTestApp qt;
    QTemporaryDir first;
    QTemporaryDir second;
    ASSERT_TRUE(first.isValid() && second.isValid());
    const QString edid = second.filePath(QStringLiteral("monitor.BIN"));
    touch(edid);
    QtUiServices ui;

    QString openedIn;
    answerNextDialog(edid, &openedIn);
    const auto chosen = ui.openFile("Binary file(*.BIN)|*.BIN||");
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(QString::fromStdString(*chosen), edid);
    EXPECT_EQ(ui.lastFolder(), QDir(second.path()).absolutePath());

    answerNextDialog(QString(), &openedIn);
    EXPECT_FALSE(ui.openFile("Binary file(*.BIN)|*.BIN||").has_value());
    EXPECT_EQ(openedIn, QDir(second.path()).absolutePath());
    // A cancel keeps the folder.
    EXPECT_EQ(ui.lastFolder(), QDir(second.path()).absolutePath());
}
