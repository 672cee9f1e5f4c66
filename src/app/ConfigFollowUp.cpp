#include "ConfigFollowUp.h"

#include "ConfigProgressBox.h"
#include "NoticePopup.h"
#include "platform/Window.h"
#include "state/SharedState.h"

namespace zentrel {

namespace {
constexpr int kShowResultMs = 2000;
constexpr int kBeforeSearchMs = 500;
constexpr int kSearchPatienceMs = 5000;
constexpr int kShowSearchFailedMs = 500;
constexpr int kNoticeMs = 1500;
} // namespace

ConfigFollowUp::ConfigFollowUp(Window& main, SharedState& state, ConfigProgressBox& box,
                               NoticePopup& notice, std::function<void()> search)
    : main_(main), state_(state), box_(box), notice_(notice), search_(std::move(search)) {}

void ConfigFollowUp::onRecordSent() {
    box_.open();
}

void ConfigFollowUp::onResult(WParam wp) {
    if (wp == 1) {
        state_.ConfigResult = 1;
        state_.NoticeText = kConfiguredText;
        box_.finishWith(kConfiguredText);
        main_.setTimer(kConfigSuccessTimer, kShowResultMs);
    } else if (wp == 2) {
        main_.killTimer(kSearchTimeoutTimer);
        if (box_.inModal()) {
            box_.close();
        }
    }
}

void ConfigFollowUp::showNotice(const std::string& text) {
    main_.setTimer(kNoticeTimer, kNoticeMs);
    notice_.show(text);
}

bool ConfigFollowUp::onTimer(int id) {
    switch (id) {
    case kConfigSuccessTimer:
        main_.killTimer(id);
        state_.NoticeText = kSearchingText;
        box_.finishWith(kSearchingText);
        main_.setTimer(kSearchTimer, kBeforeSearchMs);
        return true;
    case kSearchTimer:
        main_.killTimer(id);
        search_();
        main_.setTimer(kSearchTimeoutTimer, kSearchPatienceMs);
        return true;
    case kSearchTimeoutTimer:
        main_.killTimer(id);
        state_.NoticeText = kSearchFailedText;
        box_.finishWith(kSearchFailedText);
        main_.setTimer(kSearchFailedTimer, kShowSearchFailedMs);
        return true;
    case kSearchFailedTimer:
        main_.killTimer(id);
        box_.close();
        return true;
    case kNoticeTimer:
        main_.killTimer(id);
        notice_.close();
        return true;
    default:
        return false;
    }
}

} // namespace zentrel
