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

// Bytes 6..9 of a record: the IP address.
std::vector<std::uint8_t> ipOf(const std::vector<std::uint8_t>& rec) {
    return {rec.begin() + 6, rec.begin() + 10};
}

} // namespace

struct NetworkResponderTest : ::testing::Test {
    MatrixState s = MatrixState::factory();
    NetworkResponder n{s};
};

TEST_F(NetworkResponderTest, DiscoveryRecordCarriesMacIpAndSignature) {
    s.ip = {10, 1, 2, 3};
    const std::vector<std::uint8_t> probe{0x61};
    const auto rec = n.onDiscovery(probe);
    ASSERT_TRUE(rec.has_value());
    ASSERT_EQ(rec->size(), 55u);
    EXPECT_TRUE(std::equal(s.mac.begin(), s.mac.end(), rec->begin()));
    EXPECT_EQ(ipOf(*rec), (std::vector<std::uint8_t>{10, 1, 2, 3}));
    EXPECT_EQ((*rec)[18], 0x77);
    EXPECT_EQ((*rec)[19], 0x88);
    // Its own record coming back on the shared port, or any other datagram, gets no answer.
    EXPECT_FALSE(n.onDiscovery(*rec).has_value());
    EXPECT_FALSE(n.onDiscovery(std::vector<std::uint8_t>{0x61, 0x61}).has_value());
}

TEST_F(NetworkResponderTest, AutoIpKeepsTheAddressAndTakesTheMode) {
    s.ip = {10, 9, 9, 9};
    const auto answer = n.onConfig(request(s.mac, true, {}, kOtherMac));
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ((*answer)[74], 0x00);
    EXPECT_EQ(s.addressMode, AddressMode::Auto);
    EXPECT_EQ(s.ip, (std::array<std::uint8_t, 4>{10, 9, 9, 9}));
    EXPECT_EQ(s.mac, kOtherMac);
}

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

TEST_F(NetworkResponderTest, ShapedAnswersAndASecondUnit) {
    n.setSecondUnit(true);
    const std::vector<std::uint8_t> probe{0x61};
    const auto found = n.answerDiscovery(probe);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(ipOf(found[1].bytes), (std::vector<std::uint8_t>{127, 0, 0, 2}));
    EXPECT_EQ(found[1].bytes[5], s.mac[5] + 1);
    EXPECT_TRUE(n.answerDiscovery(std::vector<std::uint8_t>{0x62}).empty());

    // Late, in two parts, behind stray bytes: the parts make the plain answer again.
    n.setAnswerShape({12000, 40, {0x00, 0xFF}});
    const auto parts = n.answerConfig(request(s.mac, false, {10, 0, 0, 9}, s.mac));
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0].delayMs, 12000);
    EXPECT_EQ(parts[1].delayMs, 12000);
    EXPECT_EQ(parts[0].bytes.size(), 42u);
    EXPECT_EQ(parts[1].bytes.size(), 36u);
    std::vector<std::uint8_t> whole(parts[0].bytes.begin() + 2, parts[0].bytes.end());
    whole.insert(whole.end(), parts[1].bytes.begin(), parts[1].bytes.end());
    EXPECT_EQ(whole[74], NetworkResponder::kStatusAccepted);
    EXPECT_EQ(whole[75], NetworkResponder::recordChecksum(std::span(whole).first(75)));
    EXPECT_EQ(ipOf(whole), (std::vector<std::uint8_t>{10, 0, 0, 9}));
    EXPECT_TRUE(n.answerConfig(request(kOtherMac, true, {}, kOtherMac)).empty());
}
