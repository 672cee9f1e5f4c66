#include "protocol/Commands.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace zentrel;

TEST(CommandCatalogue, FramesOnTheWire) {
    EXPECT_EQ(cmd::routeInput(3, 2).hex(), "A5 5B 02 03 03 00 02 00 00 00 00 00 F6");
    EXPECT_EQ(cmd::builtInEdid(11, 3).hex(), "A5 5B 03 02 0B F0 03 00 00 00 00 00 FD");
    EXPECT_EQ(cmd::copyEdid(2, 4).hex(), "A5 5B 03 04 02 00 04 00 00 00 00 00 F3");
    EXPECT_EQ(cmd::edidDataHeader().hex(), "A5 5B 03 07 56 00 00 01 00 00 00 00 9F");
    EXPECT_EQ(cmd::firmwarePartStart(1, 0x80).hex(), "A5 5B 20 01 80 00 00 00 00 40 00 00 1F");
    // Other pages' shapes: 40 in byte 9, a firmware block header with its block id in byte 10.
    EXPECT_EQ(CommandFrame::make({1, 2}).put(9, 0x40).hex(),
              "A5 5B 01 02 00 00 00 00 00 40 00 00 BD");
    EXPECT_EQ(CommandFrame::make({0x20, 1, 0xAA, 0, 0, 1, 1, 0x40}).put(10, 7).hex(),
              "A5 5B 20 01 AA 00 00 01 01 40 07 00 EC");
    CommandFrame f = cmd::queryInput(1);
    for (std::size_t pos : {0u, 1u, 12u}) { // header and checksum are the frame's own
        EXPECT_THROW(f.put(pos, 0), std::out_of_range);
    }
    EXPECT_EQ(f, cmd::queryInput(1));
}
