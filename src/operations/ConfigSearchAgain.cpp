#include "ConfigSearchAgain.h"

#include "platform/Window.h"

namespace zentrel {

void ConfigSearchAgain::accepted() {
    listener_.onConfigText(kConfiguredText);
    host_.setTimer(kShowResultTimer, kShowResultMs);
}

void ConfigSearchAgain::found() {
    host_.killTimer(kPatienceTimer);
}

bool ConfigSearchAgain::onTimer(int id) {
    switch (id) {
    case kShowResultTimer:
        host_.killTimer(id);
        listener_.onConfigText(kSearchingText);
        host_.setTimer(kSearchTimer, kBeforeSearchMs);
        return true;
    case kSearchTimer:
        host_.killTimer(id);
        listener_.onSearchNow();
        host_.setTimer(kPatienceTimer, kPatienceMs);
        return true;
    case kPatienceTimer:
        host_.killTimer(id);
        listener_.onConfigText(kSearchFailedText);
        host_.setTimer(kShowFailureTimer, kShowFailureMs);
        return true;
    case kShowFailureTimer:
        host_.killTimer(id);
        listener_.onSearchGivenUp();
        return true;
    default:
        return false;
    }
}

} // namespace zentrel
