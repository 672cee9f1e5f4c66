#pragma once
// A page's receive-log box. Where the line breaks fall depends on the path the bytes came by
// (the serial assembler's counter, a TCP frame, a discovery read), so the callers decide; this
// only writes the texts. The General page also keeps a string mirroring the serial bytes.
#include "protocol/ReplyLog.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace zentrel {

class Window;

class ReceiveLog : public ReplyLog {
public:
    ReceiveLog(Window& window, int editId, bool keepsMirror = false);

    // A serial byte as the assembler logs it: "XX ", or "XX \r\n" when it ends a line, in one
    // insertion; the mirror gets "XX " either way.
    void serialByte(std::uint8_t b, bool endsLine) override;
    // "XX " at the end of the box, not mirrored (TCP and discovery bytes).
    void hex(std::uint8_t b) override;
    // "\r\n" at the very end of the box.
    void lineBreak() override;
    void appendText(const std::string& text);

    const std::string& mirror() const { return mirror_; }

private:
    void insert(const std::string& text);

    Window& window_;
    int editId_;
    bool keepsMirror_;
    std::string mirror_;
};

} // namespace zentrel
