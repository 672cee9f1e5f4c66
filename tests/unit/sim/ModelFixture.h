#pragma once
// A matrix model on one link with a hand-moved clock, for the model's unit tests.
#include "HexFrames.h"
#include "sim/model/MatrixModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace zentrel::sim::test {

using zentrel::test::bytesOf;
using zentrel::test::frameFrom2;

inline std::string frameHex(std::string_view from2) {
    return frameFrom2(from2).hex();
}
inline std::vector<std::uint8_t> frameBytes(std::string_view from2) {
    return bytesOf(frameFrom2(from2));
}

// An EDID download block: a base block with its header and checksum and, when asked, one
// extension, behind the block's lead byte and padded to 290 bytes.
inline std::vector<std::uint8_t> makeEdid(bool withExtension) {
    std::vector<std::uint8_t> e(256, 0);
    e[1] = e[2] = e[3] = e[4] = e[5] = e[6] = 0xFF;
    e[8] = 0x12;
    e[126] = withExtension ? 1 : 0;
    e[127] = static_cast<std::uint8_t>(0x100 - (0xFF * 6 + 0x12 + e[126]) % 0x100);
    if (withExtension) {
        e[128] = 0x02;
        e[129] = 0x03;
        e[255] = static_cast<std::uint8_t>(0 - 0x05);
    }
    return e;
}

inline std::vector<std::uint8_t> edidBlock(const std::vector<std::uint8_t>& edid) {
    std::vector<std::uint8_t> block(290, 0);
    std::copy(edid.begin(), edid.end(), block.begin() + 1);
    return block;
}

struct ModelOnOneLink {
    MatrixModel model;
    WireIntake link = model.newLink();
    std::int64_t now = 0;

    Exchange sendBytes(const std::vector<std::uint8_t>& bytes) {
        return model.receive(link, bytes, now);
    }
    Exchange send(std::string_view from2) { return sendBytes(frameBytes(from2)); }
    // The hex of an exchange's single reply, "" when there is none, "many" for more than one.
    static std::string single(const Exchange& ex) {
        return ex.out.size() == 1 ? hexBytes(ex.out[0].bytes) : ex.out.empty() ? "" : "many";
    }
    std::string ask(std::string_view from2) { return single(send(from2)); }
    std::string askBytes(const std::vector<std::uint8_t>& bytes) {
        return single(sendBytes(bytes));
    }
    // Each step is "request -> reply", both bytes 2.. in hex; no reply must come for "request ->".
    void expectReplies(std::initializer_list<std::string_view> steps) {
        for (std::string_view step : steps) {
            SCOPED_TRACE(step);
            const std::size_t arrow = step.find("->");
            const std::string_view reply = step.substr(arrow + 2);
            EXPECT_EQ(ask(step.substr(0, arrow)),
                      reply.find_first_not_of(' ') == reply.npos ? "" : frameHex(reply));
        }
    }
};

} // namespace zentrel::sim::test
