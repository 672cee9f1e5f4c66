#pragma once
// A page's receive-log box. Where the line breaks fall depends on the path the bytes came by
// (the serial assembler's counter, a TCP frame, a discovery read), so the callers decide; this
// only writes the texts. The General page also keeps a string mirroring the serial bytes.
// Each line the box receives is also handed to the traffic recorder as one entry, when the line
// ends: a line is what the page took as one frame, whichever path it came by.
#include "TrafficTap.h"
#include "protocol/ReplyLog.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace zentrel {

class Window;

class ReceiveLog : public ReplyLog {
public:
    // A line without a break (stray bytes the assembler never counts) is handed on once it
    // holds this many characters, so it neither waits nor grows without end.
    static constexpr std::size_t kLongestLine = 3 * 256;

    // `tap` names the recorder and page of the entries.
    ReceiveLog(Window& window, int editId, bool keepsMirror = false, TrafficTap tap = {});

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
    void collect(const std::string& text);
    void endLine();

    Window& window_;
    int editId_;
    bool keepsMirror_;
    TrafficTap tap_;
    std::string mirror_;
    std::string line_; // the line written so far, for the recorder
};

} // namespace zentrel
