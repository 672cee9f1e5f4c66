#pragma once
// The device and version line at the bottom of the page. When the tab is chosen the page asks
// the matrix for its type, then its size, then its firmware version, each on the previous
// answer, and shows "Device: HDMI MATRIX 4x4" and the version beside it.
#include "protocol/CommandFrame.h"

#include <string>

namespace zentrel {

class FirmwarePage;

class DeviceLine {
public:
    explicit DeviceLine(FirmwarePage& page) : page_(page) {}

    // 150 ms after the tab is chosen: open the link (COM) or check it (TCP), then ask.
    void activate();
    // A type, size or version answer (read this way only while no upgrade has started); true
    // when the frame was one of them.
    bool onReply(const CommandFrame& f);

    void onSelected() { querySent_ = false; }
    // Over TCP, the standby announcement counts only once the page has asked.
    bool querySent() const { return querySent_; }

private:
    FirmwarePage& page_;
    bool querySent_ = false;
    std::string name_;
    std::string info_;
};

} // namespace zentrel
