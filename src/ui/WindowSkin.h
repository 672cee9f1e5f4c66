#pragma once
// What the view asks of a skinned, frameless window beyond its controls: the skinned buttons,
// where a press drags the window, where the pointer becomes a hand, the window menu that stands
// in for the missing title bar, caption fonts, and what the window manager's close does.
// A window offers it by deriving from this interface as well as from Window.
#include "MenuEntry.h"
#include "platform/Geometry.h"

#include <optional>
#include <string>
#include <vector>

namespace zentrel {

class SkinButton;

struct FontSpec {
    std::string family;
    int pixelHeight = 0;
    int weight = 400;
};

class WindowSkin {
public:
    virtual ~WindowSkin() = default;

    // The skin of a button control, or nothing when the control is drawn plainly.
    virtual SkinButton* skinButton(int /*id*/) { return nullptr; }
    // A left press at p (client pixels) that the window did not take starts a window move.
    virtual bool dragsWindowAt(Point /*p*/) const { return false; }
    virtual bool handCursorAt(Point /*p*/) const { return false; }
    // A right click at p opens the window menu.
    virtual bool windowMenuAt(Point /*p*/) const { return false; }
    virtual std::vector<MenuEntry> windowMenu() const { return {}; }
    virtual void onSystemCommand(unsigned /*command*/) {}
    virtual std::optional<FontSpec> fontFor(int /*id*/) const { return std::nullopt; }
    // The window's own background; nothing for the desktop's dialog colour.
    virtual std::optional<Color> backgroundColor() const { return std::nullopt; }
    // The window manager asks the window to close. False: the view uses the window's Cancel.
    virtual bool onCloseRequest() { return false; }
    // Ctrl+Tab (step +1) or Ctrl+Shift+Tab (step -1) reached the window. False: the window has
    // no tabs to move between and the key goes on as any other.
    virtual bool onSwitchTab(int /*step*/) { return false; }
};

} // namespace zentrel
