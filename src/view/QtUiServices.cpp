#include "QtUiServices.h"

#include "QtWindowHost.h"
#include "WindowWidget.h"
#include "platform/Messages.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

namespace zentrel {

std::optional<std::string> QtUiServices::chooseFile(Window& owner, const std::string& filter) {
    QWidget* parent = host_ != nullptr ? host_->widgetFor(owner) : nullptr;
    const QString path =
        QFileDialog::getOpenFileName(parent, QString(), QString(), QString::fromStdString(filter));
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path.toStdString();
}

std::optional<std::string> QtUiServices::openFile(const std::string& filter) {
    const QString path =
        QFileDialog::getOpenFileName(nullptr, QString(), QString(), QString::fromStdString(filter));
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path.toStdString();
}

int QtUiServices::messageBox(Window& owner, const std::string& text, const std::string& caption) {
    QWidget* parent = host_ != nullptr ? host_->widgetFor(owner) : nullptr;
    QMessageBox::information(parent, QString::fromStdString(caption), QString::fromStdString(text));
    return IDOK;
}

void QtUiServices::openAddress(const std::string& address) {
    const QString text = QString::fromStdString(address);
    QUrl url = QUrl::fromUserInput(text);
    QDesktopServices::openUrl(url);
}

} // namespace zentrel
