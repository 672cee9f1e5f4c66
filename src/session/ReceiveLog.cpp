#include "ReceiveLog.h"

#include "BoundedText.h"
#include "platform/Window.h"
#include "protocol/HexText.h"

namespace zentrel {

ReceiveLog::ReceiveLog(Window& window, int editId, bool keepsMirror, TrafficTap tap)
    : window_(window), editId_(editId), keepsMirror_(keepsMirror), tap_(tap) {}

void ReceiveLog::serialByte(std::uint8_t b, bool endsLine) {
    const std::string text = hexByte(b);
    insert(endsLine ? text + "\r\n" : text);
    if (keepsMirror_) {
        appendBounded(mirror_, text);
    }
}

void ReceiveLog::hex(std::uint8_t b) {
    insert(hexByte(b));
}

void ReceiveLog::lineBreak() {
    insert("\r\n");
}

void ReceiveLog::appendText(const std::string& text) {
    insert(text);
}

void ReceiveLog::insert(const std::string& text) {
    if (window_.hasControl(editId_)) {
        window_.appendText(editId_, text);
    }
    if (tap_) {
        collect(text);
    }
}

void ReceiveLog::collect(const std::string& text) {
    // The same text the box gets, cut at its line breaks.
    for (char c : text) {
        if (c == '\n') {
            endLine();
        } else if (c != '\r') {
            line_ += c;
        }
    }
    if (line_.size() >= kLongestLine) {
        endLine();
    }
}

void ReceiveLog::endLine() {
    while (!line_.empty() && line_.back() == ' ') {
        line_.pop_back();
    }
    if (!line_.empty()) {
        tap_.record(TrafficDirection::Received, line_);
    }
    line_.clear();
}

} // namespace zentrel
