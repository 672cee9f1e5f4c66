#include "ControllerApp.h"

#include "MainWindow.h"

namespace zentrel {

ControllerApp::ControllerApp(Platform& platform, AppOptions options)
    : platform_(platform), options_(std::move(options)), socket_(platform.network, state_) {}

ControllerApp::~ControllerApp() {
    if (platform_.loop.mainWindow() == main_.get()) {
        platform_.loop.setMainWindow(nullptr);
    }
}

bool ControllerApp::start() {
    if (main_) {
        return true;
    }
    // Every page shares this one socket; without it nothing could reach a matrix over TCP,
    // and the program ends before it shows anything.
    if (!socket_.create()) {
        return false;
    }
    main_ = std::make_unique<MainWindow>(platform_, state_, socket_, options_.pageFactory,
                                         options_.screen, options_.profiles);
    platform_.loop.setMainWindow(main_.get());
    return true;
}

int ControllerApp::run() {
    if (!start()) {
        return 1;
    }
    main_->runModal();
    platform_.loop.setMainWindow(nullptr);
    main_.reset();
    return 0;
}

} // namespace zentrel
