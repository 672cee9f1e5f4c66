#pragma once
// The traffic log: one window of its own listing every frame the pages' logs wrote, one line
// each with its time, page and direction, then its bytes and what they mean. It is opened from the
// main window's menu and only hidden when closed; the recorder goes on recording meanwhile. While
// hidden the window does nothing per frame: it writes what it missed when it is shown again.
#include "PortNames.h"
#include "platform/Window.h"
#include "session/TrafficRecorder.h"

#include <cstdint>
#include <string>

namespace zentrel {

class UiServices;

class TrafficWindow : public Window {
public:
    static constexpr int kTemplateId = 190;
    static constexpr int kHeading = 1;
    static constexpr int kText = 2;
    static constexpr int kCopyAll = 3;
    static constexpr const char* kTitle = "Traffic log";
    // While shown, new frames are written together at most this often: a box redrawn for
    // every frame cost a third of a frame's line time at full serial speed.
    static constexpr int kFlushTimer = 1;
    static constexpr int kFlushMs = 100;

    TrafficWindow(EventLoop& loop, UiServices& ui, TrafficRecorder& recorder);
    ~TrafficWindow() override;

    // Shows the window, up to date, in front; made the first time, beside `owner` (screen
    // pixels) when `screen` has room there.
    void open(const Rect& owner, const Rect& screen);

    // One line of the log, without its line break:
    // "00:01:02.345  Matrix  sent  A5 5B 02 03 03 00 02 ...  route input 3 to output B".
    static std::string line(const TrafficFrame& f);
    // The same with the ports' names in the meaning.
    static std::string line(const TrafficFrame& f, const PortNames& names);
    // The names the lines written from now on use; none: the meanings as recorded.
    void setNames(const PortNames* names) { names_ = names; }
    // "hh:mm:ss.mmm" of a time on the event loop's clock.
    static std::string clockText(std::int64_t ms);
    // The tab caption of page 1..4.
    static std::string pageName(int page);

    void onCommand(int id, int code) override;
    // Enter does nothing here; Escape and the window's close only hide it.
    void onOk() override {}
    void onTimer(int id) override;
    void onCancel() override { hide(); }

private:
    void onFrame(std::uint64_t seq, const TrafficFrame& f);
    void catchUp();

    UiServices& ui_;
    TrafficRecorder& recorder_;
    const PortNames* names_ = nullptr;
    std::uint64_t shownEnd_ = 0; // the frames before this one are in the box
    bool flushPending_ = false;
};

} // namespace zentrel
