#include "SendLog.h"

#include "BoundedText.h"
#include "platform/Window.h"
#include "protocol/HexText.h"

namespace zentrel {

SendLog::SendLog(Window& window, int editId, bool keepsMirror)
    : window_(window), editId_(editId), keepsMirror_(keepsMirror) {}

void SendLog::append(std::span<const std::uint8_t> bytes) {
    for (std::uint8_t b : bytes) {
        ++counter_;
        const std::string text = hexByte(b);
        insert(text);
        if (keepsMirror_) {
            appendBounded(mirror_, text);
        }
        if (counter_ >= kLineBytes) {
            insert("\r\n");
            counter_ = 0;
        }
    }
}

void SendLog::appendText(const std::string& text) {
    insert(text);
}

void SendLog::insert(const std::string& text) {
    if (window_.hasControl(editId_)) {
        window_.appendText(editId_, text);
    }
}

} // namespace zentrel
