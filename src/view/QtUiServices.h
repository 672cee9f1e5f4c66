#pragma once
// The desktop services on Qt: the open-file dialog, message boxes, and opening an address with
// the desktop's default handler.
#include "platform/UiServices.h"

namespace zentrel {

class QtWindowHost;

class QtUiServices : public UiServices {
public:
    // The host, when set, gives dialogs their owner window.
    void setHost(QtWindowHost* host) { host_ = host; }

    std::optional<std::string> chooseFile(Window& owner, const std::string& filter) override;
    std::optional<std::string> openFile(const std::string& filter) override;
    int messageBox(Window& owner, const std::string& text, const std::string& caption) override;
    void openAddress(const std::string& address) override;

private:
    QtWindowHost* host_ = nullptr;
};

} // namespace zentrel
