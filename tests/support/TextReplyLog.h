#pragma once
// A receive log that only keeps its text, for tests of the assemblers on their own.
#include "protocol/HexText.h"
#include "protocol/ReplyLog.h"

#include <string>

namespace zentrel::test {

struct TextReplyLog : ReplyLog {
    void serialByte(std::uint8_t b, bool endsLine) override {
        text += hexByte(b) + (endsLine ? "\r\n" : "");
    }
    void hex(std::uint8_t b) override { text += hexByte(b); }
    void lineBreak() override { text += "\r\n"; }
    std::string text;
};

} // namespace zentrel::test
