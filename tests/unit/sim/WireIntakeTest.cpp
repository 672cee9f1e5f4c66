#include "sim/model/WireIntake.h"

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::sim;
using Kind = WireIntake::Unit::Kind;

namespace {

std::vector<WireIntake::Unit> feed(WireIntake& w, const std::vector<std::uint8_t>& bytes,
                                   std::int64_t now = 0) {
    std::vector<WireIntake::Unit> done;
    for (std::uint8_t b : bytes) {
        w.push(b, now, done);
    }
    w.flushStray(done);
    return done;
}

std::vector<std::uint8_t> frame(std::uint8_t g, std::uint8_t c) {
    const CommandFrame f = CommandFrame::make({g, c});
    return {f.bytes.begin(), f.bytes.end()};
}

} // namespace

TEST(WireIntake, StrayBytesBeforeAFrameAreSetApart) {
    WireIntake w;
    std::vector<std::uint8_t> in{0x00, 0x11};
    const std::vector<std::uint8_t> f = frame(0x01, 0x01);
    in.insert(in.end(), f.begin(), f.end());
    const auto units = feed(w, in);
    ASSERT_EQ(units.size(), 2u);
    EXPECT_EQ(units[0].kind, Kind::Stray);
    EXPECT_EQ(units[0].bytes, (std::vector<std::uint8_t>{0x00, 0x11}));
    EXPECT_EQ(units[1].kind, Kind::Frame);
    EXPECT_EQ(units[1].bytes, f);
}
