#include "sim/model/NetworkResponder.h"

#include <gtest/gtest.h>

using namespace zentrel::sim;

namespace {

// A configuration request as the panel's dialog builds it.
std::vector<std::uint8_t> request(const std::array<std::uint8_t, 6>& target, bool autoIp,
                                  std::array<std::uint8_t, 4> ip,
                                  std::array<std::uint8_t, 6> newMac) {
    std::vector<std::uint8_t> r(76, 0);
    std::copy(target.begin(), target.end(), r.begin());
    if (!autoIp) {
        std::copy(ip.begin(), ip.end(), r.begin() + 6);
        r[10] = ip[0];
        r[11] = ip[1];
        r[12] = ip[2];
        r[13] = 1;
        r[14] = r[15] = r[16] = 255;
        r[17] = 0;
    }
    r[18] = autoIp ? 1 : 0;
    std::copy(newMac.begin(), newMac.end(), r.begin() + 19);
    r[25] = autoIp ? 0x16 : 0x17;
    r[74] = 0xFF;
    r[75] = NetworkResponder::recordChecksum(std::span(r).first(75));
    return r;
}

const std::array<std::uint8_t, 6> kOtherMac{0x02, 0x11, 0x22, 0x33, 0x44, 0x55};

} // namespace

struct NetworkResponderTest : ::testing::Test {
    MatrixState s = MatrixState::factory();
    NetworkResponder n{s};
};

TEST_F(NetworkResponderTest, RecordsForOthersAndAnswersAreIgnored) {
    EXPECT_FALSE(n.onConfig(request(kOtherMac, true, {}, kOtherMac)).has_value());
    auto answer = request(s.mac, true, {}, kOtherMac);
    answer[74] = 0x00; // an answer that came back on the shared port
    answer[75] = NetworkResponder::recordChecksum(std::span(answer).first(75));
    EXPECT_FALSE(n.onConfig(answer).has_value());
    EXPECT_FALSE(n.onConfig(std::vector<std::uint8_t>(75, 0xFF)).has_value());
}

TEST_F(NetworkResponderTest, BadRecordsAreRefusedAndChangeNothing) {
    const MatrixState before = s;
    auto refused = [&](std::vector<std::uint8_t> req) {
        const auto a = n.onConfig(req);
        return a.has_value() && (*a)[74] == NetworkResponder::kStatusRefused;
    };
    auto badSum = request(s.mac, false, {10, 0, 0, 5}, kOtherMac);
    badSum[75] ^= 0x01;
    EXPECT_TRUE(refused(badSum));
    EXPECT_TRUE(refused(request(s.mac, false, {0, 0, 0, 0}, kOtherMac)));
    EXPECT_TRUE(refused(request(s.mac, false, {255, 255, 255, 255}, kOtherMac)));
    EXPECT_TRUE(refused(request(s.mac, false, {224, 0, 0, 1}, kOtherMac)));
    EXPECT_TRUE(refused(request(s.mac, true, {}, {0, 0, 0, 0, 0, 0})));
    EXPECT_TRUE(refused(request(s.mac, true, {}, {0x01, 0, 0x5E, 0, 0, 1}))); // multicast
    EXPECT_EQ(s.mac, before.mac);
    EXPECT_EQ(s.ip, before.ip);
    n.setRefuseConfig(true);
    EXPECT_TRUE(refused(request(s.mac, true, {}, kOtherMac)));
}
