#pragma once
// What a page is built with: the platform, the shared values, the control socket, the main
// window as its parent, the shared pop-ups and the recorder its logs hand their entries to. The
// main window makes its pages through a factory, so the real pages plug in where the stand-ins
// serve today.
#include <functional>
#include <memory>

namespace zentrel {

struct Platform;
struct SharedState;
class ControlSocket;
class Window;
class NoticePopup;
class ProgressPopup;
class Page;
class TrafficRecorder;
class PanelProfiles;

struct PageContext {
    Platform& platform;
    SharedState& state;
    ControlSocket& socket;
    Window& mainWindow;
    NoticePopup& notice;
    ProgressPopup& progress;
    TrafficRecorder& traffic;
    PanelProfiles& profiles;
};

// Makes page `number` (1 General, 2 EDID, 3 Matrix, 4 FW Upgrade). The page's window must have
// ctx.mainWindow as its parent; the main window creates it from pageTemplate() when needed.
using PageFactory = std::function<std::unique_ptr<Page>(int number, PageContext& ctx)>;

} // namespace zentrel
