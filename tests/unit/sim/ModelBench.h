#pragma once
// A matrix model on one link with a hand-moved clock, for the model's unit tests.
#include "sim/model/MatrixModel.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

namespace zentrel::sim::test {

inline std::string frameHex(std::initializer_list<std::uint8_t> from2) {
    return CommandFrame::make(from2).hex();
}

inline std::vector<std::uint8_t> frameBytes(std::initializer_list<std::uint8_t> from2) {
    const CommandFrame f = CommandFrame::make(from2);
    return {f.bytes.begin(), f.bytes.end()};
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

struct ModelBench {
    MatrixModel model;
    WireIntake link = model.newLink();
    std::int64_t now = 0;

    Exchange sendBytes(const std::vector<std::uint8_t>& bytes) {
        return model.receive(link, bytes, now);
    }
    Exchange send(std::initializer_list<std::uint8_t> from2) {
        return sendBytes(frameBytes(from2));
    }
    // The hex of an exchange's single reply, "" when there is none, "many" for more than one.
    static std::string single(const Exchange& ex) {
        return ex.out.size() == 1 ? hexBytes(ex.out[0].bytes) : ex.out.empty() ? "" : "many";
    }
    std::string ask(std::initializer_list<std::uint8_t> from2) { return single(send(from2)); }
    std::string askBytes(const std::vector<std::uint8_t>& bytes) {
        return single(sendBytes(bytes));
    }
};

} // namespace zentrel::sim::test
