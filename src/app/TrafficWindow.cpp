#include "TrafficWindow.h"

#include "Page.h"
#include "platform/UiServices.h"
#include "resources/DialogTemplates.h"
#include "resources/TemplateParts.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace zentrel {

namespace {

const DialogTemplate& trafficTemplate() {
    using K = ControlKind;
    using tpl::item;
    // Wide enough that a frame's line, its meaning included, fits on one line of the box.
    static const DialogTemplate t = [] {
        DialogTemplate d{TrafficWindow::kTemplateId, TrafficWindow::kTitle, 400, 200, {}};
        d.controls.push_back(item(TrafficWindow::kHeading, K::Static,
                                  "Frames the pages sent and received, the newest last; times "
                                  "count from the start of the panel.",
                                  6, 5, 388, 10));
        ControlTemplate text = tpl::named(item(TrafficWindow::kText, K::Edit, "", 6, 18, 388, 158),
                                          "Frames sent and received");
        text.multiline = true;
        text.readOnly = true;
        d.controls.push_back(text);
        d.controls.push_back(
            item(TrafficWindow::kCopyAll, K::Button, "Copy all", 334, 181, 60, 14));
        return d;
    }();
    return t;
}

} // namespace

TrafficWindow::TrafficWindow(EventLoop& loop, UiServices& ui, TrafficRecorder& recorder)
    : Window(loop), ui_(ui), recorder_(recorder) {
    recorder_.setListener([this](std::uint64_t seq, const TrafficFrame& f) { onFrame(seq, f); });
}

TrafficWindow::~TrafficWindow() {
    recorder_.setListener({});
}

void TrafficWindow::open(const Rect& owner, const Rect& screen) {
    if (!created()) {
        create(trafficTemplate());
        // Beside the main window rather than over it, as far as the screen allows.
        const Rect g = geometry();
        int x = owner.right + 8;
        if (x + g.width() > screen.right) {
            x = std::max(screen.left, screen.right - g.width());
        }
        const int y = std::max(screen.top, std::min(owner.top, screen.bottom - g.height()));
        moveTo(x, y);
    }
    catchUp();
    setMinimized(false);
    if (isVisible()) {
        // A window the desktop maps anew comes to the front: that is how an open log is raised.
        hide();
    }
    show();
}

void TrafficWindow::onFrame(std::uint64_t, const TrafficFrame&) {
    // Hidden, the window costs nothing per frame; it catches up when shown. Shown, it writes
    // what came since the last write in one go, a little later.
    if (!isVisible() || flushPending_) {
        return;
    }
    flushPending_ = true;
    setTimer(kFlushTimer, kFlushMs);
}

void TrafficWindow::onTimer(int id) {
    if (id != kFlushTimer) {
        return;
    }
    killTimer(kFlushTimer);
    flushPending_ = false;
    if (isVisible()) {
        catchUp();
    }
}

void TrafficWindow::catchUp() {
    // What the box can keep at most, walking back from the newest frame: a long hidden stretch
    // costs no more to show than a full box.
    const std::uint64_t end = recorder_.endSeq();
    std::uint64_t from = std::max(shownEnd_, recorder_.firstSeq());
    std::vector<std::string> lines;
    std::size_t bytes = 0;
    for (std::uint64_t seq = end; seq > from; --seq) {
        const TrafficFrame& f = recorder_.at(seq - 1);
        std::string l = (names_ != nullptr ? line(f, *names_) : line(f)) + '\n';
        if (bytes + l.size() > kTextKept) {
            from = seq;
            break;
        }
        bytes += l.size();
        lines.push_back(std::move(l));
    }
    std::string text;
    text.reserve(bytes);
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
        text += *it;
    }
    if (from == shownEnd_) {
        if (!text.empty()) {
            appendText(kText, text);
        }
    } else {
        // Frames between what the box shows and what it can take now are gone: the box starts
        // anew rather than showing a gap.
        setText(kText, text);
    }
    shownEnd_ = end;
}

void TrafficWindow::onCommand(int id, int code) {
    if (id == kCopyAll && code == BN_CLICKED) {
        ui_.copyText(text(kText));
    }
}

std::string TrafficWindow::line(const TrafficFrame& f) {
    return clockText(f.timeMs) + "  " + pageName(f.page) + "  " +
           (f.direction == TrafficDirection::Sent ? "sent" : "received") + "  " + f.hex +
           (f.meaning.empty() ? "" : "  " + f.meaning);
}

std::string TrafficWindow::line(const TrafficFrame& f, const PortNames& names) {
    TrafficFrame named = f;
    named.meaning = names.inMeaning(f.meaning);
    return line(named);
}

std::string TrafficWindow::clockText(std::int64_t ms) {
    ms = std::max<std::int64_t>(ms, 0);
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld.%03lld",
                  static_cast<long long>(ms / 3'600'000), static_cast<long long>(ms / 60'000 % 60),
                  static_cast<long long>(ms / 1000 % 60), static_cast<long long>(ms % 1000));
    return text;
}

std::string TrafficWindow::pageName(int page) {
    // The captions of the main window's tabs, looked up once.
    static const std::array<std::string, 4> names = [] {
        std::array<std::string, 4> out;
        for (int n = 1; n <= 4; ++n) {
            for (const ControlTemplate& c : mainDialogTemplate().controls) {
                if (c.id == pageInfo(n).caption) {
                    out[static_cast<std::size_t>(n - 1)] = c.caption;
                }
            }
        }
        return out;
    }();
    if (page >= 1 && page <= 4) {
        return names[static_cast<std::size_t>(page - 1)];
    }
    return "Page " + std::to_string(page);
}

} // namespace zentrel
