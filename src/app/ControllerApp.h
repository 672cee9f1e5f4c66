#pragma once
// The application: makes the control socket first (without one the program ends silently),
// then runs the main window modally; when that loop ends the application ends.
#include "PageContext.h"
#include "link/ControlSocket.h"
#include "platform/Platform.h"
#include "state/SharedState.h"

#include <memory>

namespace zentrel {

class MainWindow;
class ProfileStore;

struct AppOptions {
    // The desktop area the main window is centred in.
    Rect screen{0, 0, 1280, 800};
    // Makes the four pages (required).
    PageFactory pageFactory;
    // Where profiles and the panel's state are kept; none: every run starts from the defaults.
    ProfileStore* profiles = nullptr;
};

class ControllerApp {
public:
    explicit ControllerApp(Platform& platform, AppOptions options = {});
    ~ControllerApp();
    ControllerApp(const ControllerApp&) = delete;
    ControllerApp& operator=(const ControllerApp&) = delete;

    // Makes the control socket and the main window object (not yet its window). False, and
    // nothing made, when the system gives no socket.
    bool start();
    // The whole program: start, run the main window modally, destroy it. Returns the process
    // exit code: 0, or 1 when there was no socket (nothing is shown then).
    int run();

    SharedState& state() { return state_; }
    ControlSocket& controlSocket() { return socket_; }
    MainWindow* mainWindow() { return main_.get(); }

private:
    Platform& platform_;
    AppOptions options_;
    SharedState state_;
    ControlSocket socket_;
    std::unique_ptr<MainWindow> main_;
};

} // namespace zentrel
