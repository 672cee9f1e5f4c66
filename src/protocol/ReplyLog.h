#pragma once
// Where the reply assemblers write what they received. A page's receive-log box implements it;
// the assemblers only decide where the line breaks fall, so they stay plain byte handling.
#include <cstdint>

namespace zentrel {

class ReplyLog {
public:
    virtual ~ReplyLog() = default;
    // A serial byte, "XX " or "XX \r\n" when it ends a line.
    virtual void serialByte(std::uint8_t b, bool endsLine) = 0;
    // "XX " (TCP and discovery bytes).
    virtual void hex(std::uint8_t b) = 0;
    virtual void lineBreak() = 0;
};

} // namespace zentrel
