#include "ConfigFollowUp.h"

#include "ConfigProgressBox.h"
#include "NoticePopup.h"
#include "platform/Window.h"
#include "state/SharedState.h"

namespace zentrel {

namespace {
constexpr int kNoticeMs = 1500;
} // namespace

ConfigFollowUp::ConfigFollowUp(Window& main, SharedState& state, ConfigProgressBox& box,
                               NoticePopup& notice, std::function<void()> search)
    : main_(main), state_(state), box_(box), notice_(notice), search_(std::move(search)),
      again_(main, *this) {}

void ConfigFollowUp::onRecordSent() {
    box_.open();
}

void ConfigFollowUp::onResult(WParam wp) {
    if (wp == 1) {
        state_.ConfigResult = 1;
        again_.accepted();
    } else if (wp == 2) {
        again_.found();
        if (box_.inModal()) {
            box_.close();
        }
    }
}

void ConfigFollowUp::onConfigText(const std::string& text) {
    state_.NoticeText = text;
    box_.finishWith(text);
}

void ConfigFollowUp::onSearchGivenUp() {
    box_.close();
}

void ConfigFollowUp::showNotice(const std::string& text) {
    main_.setTimer(kNoticeTimer, kNoticeMs);
    notice_.show(text);
}

bool ConfigFollowUp::onTimer(int id) {
    if (again_.onTimer(id)) {
        return true;
    }
    if (id == kNoticeTimer) {
        main_.killTimer(id);
        notice_.close();
        return true;
    }
    return false;
}

} // namespace zentrel
