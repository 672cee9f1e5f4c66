#pragma once
// The box that follows one run of the TCP configuration: "Configuring . . ." with its own
// animation, a 10-second time-out, and the result texts the main window puts in it.
#include "operations/ConfigExchange.h"
#include "platform/Window.h"
#include "state/SharedState.h"
#include "ui/WindowSkin.h"

#include <cstdint>
#include <string>

namespace zentrel {

class ConfigProgressBox : public Window, public WindowSkin {
public:
    static constexpr int kAlpha = 210;
    static constexpr int kCorner = 5;
    static constexpr int kAnimationTimer = 1;
    static constexpr int kTimeoutTimer = ConfigExchange::kAnswerTimer;
    static constexpr int kCloseTimer = 4;

    ConfigProgressBox(EventLoop& loop, SharedState& state, Window* parent = nullptr);

    // Opens the box modally; returns when it has closed.
    void open();
    // Stops the animation and the time-out and shows `text`.
    void finishWith(const std::string& text);
    // Ends the box (doing nothing when it is closed).
    void close();

    // The animation step, 1 to 3; it carries over from one opening to the next.
    std::uint8_t step() const { return step_; }

    void onInitDialog() override;
    // Black behind white text.
    std::optional<Color> backgroundColor() const override { return rgb(0, 0, 0); }
    void onTimer(int id) override;
    void onOk() override { close(); }
    void onCancel() override;

private:
    void stopTimers();

    SharedState& state_;
    std::uint8_t step_ = 1;
};

} // namespace zentrel
