#pragma once
// What the user saw of the shared pop-ups: each notice and progress box with when it opened and
// closed, and every text the progress label took.
#include "platform/EventLoop.h"
#include "platform/Window.h"
#include "platform/WindowObserver.h"
#include "resources/ControlIds.h"
#include "resources/ResourceIds.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zentrel::testing {

using Names = std::vector<std::string>;

// One opening of a shared pop-up.
struct Shown {
    std::string text;
    std::int64_t openedMs = 0, closedMs = -1;
    std::int64_t durationMs() const { return closedMs - openedMs; }
};

class PopupRecorder : public WindowObserver {
public:
    explicit PopupRecorder(EventLoop& loop) : loop_(loop) {}
    void windowCreated(Window&) override {}
    void windowChanged(Window&) override {}
    void windowDestroyed(Window&) override {}
    void controlChanged(Window& w, int id) override {
        if (w.templateId() == res::kProgressDialog && id == ctl::kProgressLabel) {
            progressLabels.push_back(w.text(id));
        }
    }
    void modalStarted(Window& w) override {
        if (w.templateId() == res::kNoticeDialog) {
            notices.push_back({w.text(ctl::kNoticeLabel), loop_.nowMs()});
        } else if (w.templateId() == res::kProgressDialog) {
            progress.push_back({w.text(ctl::kProgressLabel), loop_.nowMs()});
        }
    }
    void modalEnded(Window& w) override {
        auto& list = w.templateId() == res::kNoticeDialog ? notices : progress;
        if (!list.empty() && list.back().closedMs < 0) {
            list.back().closedMs = loop_.nowMs();
        }
    }
    // The notices' texts, each with how long it stayed when `timed`: "TEXT (MS ms)".
    Names noticeTexts(bool timed = false) const {
        Names out;
        for (const Shown& s : notices) {
            out.push_back(timed ? s.text + " (" + std::to_string(s.durationMs()) + " ms)" : s.text);
        }
        return out;
    }
    void clear() {
        notices.clear();
        progress.clear();
        progressLabels.clear();
    }

    std::vector<Shown> notices;
    std::vector<Shown> progress;
    std::vector<std::string> progressLabels;

private:
    EventLoop& loop_;
};

} // namespace zentrel::testing
