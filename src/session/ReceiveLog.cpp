#include "ReceiveLog.h"

#include "BoundedText.h"
#include "platform/Window.h"
#include "protocol/HexText.h"

namespace zentrel {

ReceiveLog::ReceiveLog(Window& window, int editId, bool keepsMirror)
    : window_(window), editId_(editId), keepsMirror_(keepsMirror) {}

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
}

} // namespace zentrel
