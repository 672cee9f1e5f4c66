#pragma once
// The desktop services on Qt: the open-file dialog, message boxes, opening an address with the
// desktop's default handler, and the clipboard.
#include "platform/UiServices.h"

#include <QString>
#include <QStringList>

namespace zentrel {

class QtWindowHost;

class QtUiServices : public UiServices {
public:
    // The host, when set, gives dialogs their owner window.
    void setHost(QtWindowHost* host) { host_ = host; }

    std::optional<std::string> chooseFile(Window& owner, const std::string& filter) override;
    std::optional<std::string> openFile(const std::string& filter) override;
    std::optional<std::string> saveFile(const std::string& filter,
                                        const std::string& name) override;
    int messageBox(Window& owner, const std::string& text, const std::string& caption) override;
    void openAddress(const std::string& address) override;
    void copyText(const std::string& text) override;

    // The Qt name filters of a filter written "Name(*.EXT)|*.EXT||": one per pair, showing the
    // pair's name and matching its patterns in upper and lower case alike, as the files a user
    // copies from a Windows machine may carry either.
    static QStringList nameFilters(const std::string& filter);
    // The extension of the first pattern ("BIN" for "*.BIN"): added to a name typed without one.
    static QString defaultSuffix(const std::string& filter);
    // Where the next open-file dialog starts: the folder of the last file chosen.
    const QString& lastFolder() const { return lastFolder_; }

private:
    QtWindowHost* host_ = nullptr;
    QString lastFolder_;
};

} // namespace zentrel
