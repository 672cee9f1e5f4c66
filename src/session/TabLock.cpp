#include "TabLock.h"

#include "platform/Messages.h"
#include "platform/Window.h"

namespace zentrel {

void postTabLock(Window& page, bool locked) {
    if (Window* main = page.loop().mainWindow()) {
        main->postMessage(WM_TAB_LOCK, locked ? 1 : 0, 0);
    }
}

} // namespace zentrel
