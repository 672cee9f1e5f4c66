#include "QtUiServices.h"

#include "QtWindowHost.h"
#include "WindowWidget.h"
#include "platform/Messages.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
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

namespace {

// The filter's fields between the '|' separators, up to the empty one that ends the list.
QStringList filterFields(const std::string& filter) {
    QStringList fields;
    for (const QString& f : QString::fromStdString(filter).split(QLatin1Char('|'))) {
        if (f.isEmpty()) {
            break;
        }
        fields.push_back(f);
    }
    return fields;
}

} // namespace

QStringList QtUiServices::nameFilters(const std::string& filter) {
    const QStringList fields = filterFields(filter);
    QStringList out;
    for (qsizetype i = 0; i + 1 < fields.size(); i += 2) {
        QStringList patterns;
        for (const QString& p : fields[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            for (const QString& variant :
                 {p.trimmed(), p.trimmed().toLower(), p.trimmed().toUpper()}) {
                if (!patterns.contains(variant)) {
                    patterns.push_back(variant);
                }
            }
        }
        // Qt reads the patterns from the last parenthesised group; the name before it is what
        // the dialog shows once the details are hidden.
        out.push_back(fields[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                      QLatin1Char(')'));
    }
    return out;
}

QString QtUiServices::defaultSuffix(const std::string& filter) {
    const QStringList fields = filterFields(filter);
    if (fields.size() < 2) {
        return {};
    }
    const QString first = fields[1].split(QLatin1Char(';')).front().trimmed();
    const qsizetype dot = first.lastIndexOf(QLatin1Char('.'));
    const QString suffix = dot < 0 ? QString() : first.mid(dot + 1);
    return suffix.contains(QLatin1Char('*')) || suffix.contains(QLatin1Char('?')) ? QString()
                                                                                  : suffix;
}

std::optional<std::string> QtUiServices::openFile(const std::string& filter) {
    // Qt's own dialog, not the desktop's: it takes a full path typed into its file-name field
    // followed by Enter, and it looks and behaves the same on every desktop.
    QFileDialog dialog(QApplication::activeWindow(), QString(), lastFolder_);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(nameFilters(filter));
    dialog.setDefaultSuffix(defaultSuffix(filter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString path = dialog.selectedFiles().front();
    lastFolder_ = QFileInfo(path).absolutePath();
    return path.toStdString();
}

std::optional<std::string> QtUiServices::saveFile(const std::string& filter,
                                                  const std::string& name) {
    // The same dialog as openFile's, asking for a name to write, and the same folder.
    QFileDialog dialog(QApplication::activeWindow(), QString(), lastFolder_);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(nameFilters(filter));
    dialog.setDefaultSuffix(defaultSuffix(filter));
    dialog.selectFile(QString::fromStdString(name));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString path = dialog.selectedFiles().front();
    lastFolder_ = QFileInfo(path).absolutePath();
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

void QtUiServices::copyText(const std::string& text) {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        clipboard->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
}

} // namespace zentrel
