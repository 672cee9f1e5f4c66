#pragma once
// The About box of the window menu: icon, name, version and an OK button.
#include "platform/Window.h"

namespace zentrel {

class AboutBox : public Window {
public:
    using Window::Window;
    // Opens the box modally; returns when the user has closed it.
    void open();
    void onInitDialog() override;
    void onCommand(int id, int code) override;
};

} // namespace zentrel
