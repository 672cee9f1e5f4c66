#include "protocol/CommandFrame.h"
#include "protocol/CommandBuilders.h"
#include "protocol/HexText.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace zentrel;

TEST(CommandBuilders, GeneralPageShapesGiveTheFramesOnTheWire) {
    EXPECT_EQ(commandFrame(1, 4, 1).hex(), "A5 5B 01 04 01 00 00 00 00 00 00 00 FA");
    EXPECT_EQ(commandFrameB6(8, 13, 0, 0).hex(), "A5 5B 08 0D 00 00 00 00 00 00 00 00 EB");
    // Factory reset's built-in EDID step puts F0 in byte 5.
    EXPECT_EQ(commandFrameB5(3, 1, 4, 0xF0).hex(), "A5 5B 03 01 04 F0 00 00 00 00 00 00 08");
    // The switch of input 3 to output 2, as the Matrix page sends it.
    EXPECT_EQ(commandFrameB6(2, 3, 3, 2).hex(), "A5 5B 02 03 03 00 02 00 00 00 00 00 F6");
}

TEST(CommandBuilders, ChecksumWrapsForHighBytes) {
    // The sum of bytes 0..11 passes 256 several times; all thirteen must still sum to zero.
    CommandFrame f = commandFrameB6(0xFF, 0xFF, 0xFF, 0xFF);
    f.put(7, 0xFF).put(11, 0xFF);
    EXPECT_TRUE(f.checksumOk());
    EXPECT_EQ(f[12], 0x06);
    EXPECT_TRUE(f.hasHeader());
}

TEST(CommandFrame, PutPlacesPageSpecificBytesAndReseals) {
    // The FW Upgrade page's model query carries 40 in byte 9.
    CommandFrame model = CommandFrame::make({0x01, 0x02}).put(9, 0x40);
    EXPECT_EQ(model.hex(), "A5 5B 01 02 00 00 00 00 00 40 00 00 BD");
    // A firmware block header: 20 n AA 00 00 01 01 40 id 00.
    CommandFrame header = CommandFrame::make({0x20, 0x01, 0xAA, 0, 0, 1, 1, 0x40}).put(10, 7);
    EXPECT_EQ(header.hex(), "A5 5B 20 01 AA 00 00 01 01 40 07 00 EC");
    EXPECT_TRUE(header.checksumOk());

    // The header and the checksum are the frame's own.
    CommandFrame f = CommandFrame::make({0x01});
    EXPECT_THROW(f.put(0, 1), std::out_of_range);
    EXPECT_THROW(f.put(1, 1), std::out_of_range);
    EXPECT_THROW(f.put(12, 1), std::out_of_range);
    EXPECT_EQ(f, CommandFrame::make({0x01}));
}

TEST(HexText, EveryByteIsTwoUpperCaseDigitsAndASpace) {
    EXPECT_EQ(hexByte(0x00), "00 ");
    EXPECT_EQ(hexByte(0xA5), "A5 ");
    EXPECT_EQ(hexByte(0x0F), "0F ");
    const std::uint8_t run[] = {0x80, 0xFF, 0x5B};
    EXPECT_EQ(hexBytes(run), "80 FF 5B ");
    EXPECT_EQ(hexBytes({}), "");
}
