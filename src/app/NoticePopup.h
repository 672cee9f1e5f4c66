#pragma once
// The translucent black box with one line of white text that shows results and refusals
// ("Set successfully!", "Time out!"). Opened modally by a caller that has started its own timer;
// that timer closes it. NoticeText and NoticeShown in the shared state carry its text and flag.
#include "platform/Window.h"
#include "state/SharedState.h"
#include "ui/WindowSkin.h"

#include <string>

namespace zentrel {

class NoticePopup : public Window, public WindowSkin {
public:
    static constexpr int kAlpha = 190;
    static constexpr int kCorner = 5;

    NoticePopup(EventLoop& loop, SharedState& state, Window* parent = nullptr);

    // Opens the pop-up with NoticeText; returns when it has closed.
    void open();
    // NoticeText = text, NoticeShown = 1, open. The caller's close timer must already run.
    void show(const std::string& text);
    // The close operation: NoticeShown = 0 and the dialog ends. Closing a closed pop-up does
    // nothing more than clear the flag.
    void close();

    void onInitDialog() override;
    // Black behind white text.
    std::optional<Color> backgroundColor() const override { return rgb(0, 0, 0); }
    // Enter takes the OK path (the flag is cleared); Escape keeps the default cancel path.
    void onOk() override { close(); }

private:
    SharedState& state_;
};

} // namespace zentrel
