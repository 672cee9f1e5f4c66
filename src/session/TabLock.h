#pragma once
// A page's word to the main window about its tab buttons: locked while a conversation must not
// be left for another page, unlocked when it ends. Posted, so it takes effect after what the
// page has already queued.
namespace zentrel {

class Window;

void postTabLock(Window& page, bool locked);

} // namespace zentrel
