// Broken inputs end with the problems named, never with a crash or a read past the data.
#include "edid/EdidDecoder.h"
#include "edid/EdidJson.h"
#include "edid/EdidText.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <numeric>

namespace {

using namespace edidinfo;
using Bytes = std::vector<std::uint8_t>;

Bytes sample() {
    std::ifstream in(std::string(EDID_SAMPLES) + "/bin/goldstar_gsm7706_2fa58734ead8.bin",
                     std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void fixChecksum(Bytes& b, std::size_t block) {
    const auto first = b.begin() + 128 * block;
    b[128 * block + 127] = 0;
    b[128 * block + 127] =
        static_cast<std::uint8_t>(256 - std::accumulate(first, first + 127, 0u) % 256);
}

struct Case {
    const char* what;
    Bytes bytes;
    const char* problem; // a part of one problem's text
};

TEST(EdidBrokenInput, EachIsRefusedWithItsReason) {
    const Bytes good = sample();
    ASSERT_EQ(good.size(), 256u);
    ASSERT_TRUE(decodeEdid(good).valid());

    Bytes badSum = good;
    badSum[200] ^= 0x01;
    Bytes badHeader = good;
    badHeader[1] = 0x00;
    fixChecksum(badHeader, 0);
    Bytes overlong = good;
    overlong[130] = 6; // the collection now ends inside its first data block
    fixChecksum(overlong, 1);
    Bytes badOffset = good;
    badOffset[130] = 2;
    fixChecksum(badOffset, 1);
    Bytes garbage(256);
    std::iota(garbage.begin(), garbage.end(), 7);

    const std::vector<Case> cases = {
        {"empty", {}, "less than one"},
        {"truncated", Bytes(good.begin(), good.begin() + 200), "whole number"},
        {"bad checksum", badSum, "Block 1's checksum"},
        {"no header", badHeader, "header"},
        {"block past the collection", overlong, "runs past"},
        {"timing offset inside the header", badOffset, "outside the block"},
        {"garbage", garbage, "checksum"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const EdidInfo info = decodeEdid(c.bytes);
        EXPECT_FALSE(info.valid());
        bool named = false;
        for (const std::string& p : info.problems) {
            named = named || p.find(c.problem) != std::string::npos;
        }
        EXPECT_TRUE(named) << edidReport(info);
        EXPECT_NE(edidReport(info).find(c.problem), std::string::npos);
        EXPECT_FALSE(edidJson(info)["problems"].empty());
    }
}

TEST(EdidBrokenInput, JsonHoldsTheAgreedKeys) {
    const nlohmann::json j = edidJson(decodeEdid(sample()));
    EXPECT_EQ(j["preferred"]["refresh_hz"], 60.0);
    EXPECT_EQ(j["video"][0]["vic"], 16);
    EXPECT_EQ(j["video"][0]["native"], true);
    EXPECT_EQ(j["audio"][0]["format"], "LPCM");
    EXPECT_EQ(j["audio"][0]["rates_khz"], nlohmann::json({32, 44.1, 48}));
    EXPECT_EQ(j["hdr"]["eotfs"], nlohmann::json({"SDR", "PQ"}));
    EXPECT_EQ(j["checksums_ok"], nlohmann::json({true, true}));
    EXPECT_EQ(edidSummary(decodeEdid(sample())),
              "LG HDR 4K by GSM, 3840x2160 60.00 Hz, HDR (SDR, PQ)\nLPCM 2ch");
}

} // namespace
