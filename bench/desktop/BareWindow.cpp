// The reference for the panel's start-up: a bare Qt window of the panel's size, frameless like
// the panel, with nothing in it.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget w(nullptr, Qt::FramelessWindowHint);
    w.setWindowTitle(QStringLiteral("Bare"));
    w.resize(652, 550);
    w.show();
    return QApplication::exec();
}
