#pragma once
// The small translucent box with an animated text ("Setting . . .") that stays while a command
// waits for its reply. ProgressText and ProgressShown in the shared state carry its text and
// flag; the callers animate it with the shared progress step.
#include "platform/Window.h"
#include "state/SharedState.h"
#include "ui/WindowSkin.h"

#include <string>

namespace zentrel {

class ProgressPopup : public Window, public WindowSkin {
public:
    static constexpr int kAlpha = 200;
    static constexpr int kCorner = 3;
    // Offset from the main window's client origin, in dialog units.
    static constexpr int kOffsetX = 125;
    static constexpr int kOffsetY = 130;

    ProgressPopup(EventLoop& loop, SharedState& state, Window* parent = nullptr);

    // Opens the pop-up with ProgressText; returns when it has closed.
    void open();
    // Opens it unless it is open already (ProgressShown); a second request only changes the
    // text. Returns when the pop-up it opened has closed, at once otherwise.
    void openIfClosed();
    // One animation tick of a caller: the shared step advances and the text becomes the base
    // followed by its ending, ".    ", ". .  " or ". . .".
    void tick(const std::string& base);
    // Copies ProgressText into the label.
    void refreshText();
    // The close operation: ProgressShown = 0 and the dialog ends.
    void close();

    void onInitDialog() override;
    // Black behind white text.
    std::optional<Color> backgroundColor() const override { return rgb(0, 0, 0); }

private:
    SharedState& state_;
};

} // namespace zentrel
