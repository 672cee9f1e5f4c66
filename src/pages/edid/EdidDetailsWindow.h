#pragma once
// The whole decode of the EDID file chosen last, in a window of its own as the traffic log is:
// a heading, the read-only text and "Copy all". Closing it only hides it; a file chosen while it
// shows is written into it at once.
#include "platform/Window.h"

#include <string>

namespace zentrel {

class UiServices;

namespace edid {

class EdidDetailsWindow : public Window {
public:
    EdidDetailsWindow(EventLoop& loop, UiServices& ui);

    void setContent(const std::string& heading, const std::string& text);
    // Shows the window in front; made the first time, centred on `owner` (screen pixels).
    void open(const Rect& owner);

    void onCommand(int id, int code) override;
    void onOk() override {}
    void onCancel() override { hide(); }

private:
    void fill();

    UiServices& ui_;
    std::string heading_;
    std::string text_;
};

} // namespace edid
} // namespace zentrel
