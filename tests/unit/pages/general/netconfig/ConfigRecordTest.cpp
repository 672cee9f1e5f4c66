// The configuration record's bytes, the field conversions and the reply buffer's judgement.
#include "operations/ConfigRecord.h"
#include "operations/ConfigReplyBuffer.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zentrel;

namespace {

using Outcome = ConfigReplyBuffer::Outcome;

ConfigRecord staticRequest() {
    ConfigRecord r;
    r.setTarget({0x02, 0x5A, 0x45, 0x4E, 0x00, 0x01});
    r.setStatic({10, 1, 2, 3});
    r.setNewMac({0x02, 0x5A, 0x45, 0x4E, 0x00, 0x42});
    r.seal();
    return r;
}

// Feeds `parts` one after the other and returns the outcome after each.
std::vector<Outcome> feed(ConfigReplyBuffer& b, const ConfigRecord::Bytes& request,
                          const std::vector<std::vector<std::uint8_t>>& parts) {
    std::vector<Outcome> out;
    for (const auto& part : parts) {
        for (std::uint8_t byte : part) {
            b.append(byte);
        }
        out.push_back(b.judge(request));
    }
    return out;
}

std::vector<std::uint8_t> answer(const ConfigRecord& request, std::uint8_t status) {
    std::vector<std::uint8_t> a(request.bytes().begin(), request.bytes().end());
    a[74] = status;
    return a;
}

std::vector<std::uint8_t> cut(const std::vector<std::uint8_t>& v, std::size_t from,
                              std::size_t to) {
    return {v.begin() + static_cast<std::ptrdiff_t>(from),
            v.begin() + static_cast<std::ptrdiff_t>(to)};
}

} // namespace

TEST(ConfigRecord, HexAndNumberFieldsTakeOnlyWhatTheUserWrote) {
    std::array<std::uint8_t, 6> out{};
    EXPECT_EQ(ConfigRecord::hexToBytes("025a454E0001", out), 6u);
    EXPECT_EQ(out, (std::array<std::uint8_t, 6>{0x02, 0x5A, 0x45, 0x4E, 0x00, 0x01}));
    EXPECT_EQ(ConfigRecord::hexToBytes("0AG1FF", out), 1u); // stops at the first bad pair
    EXPECT_EQ(ConfigRecord::hexToBytes("ABC", out), 1u);    // a lone digit makes no byte
    EXPECT_EQ(ConfigRecord::hexToBytes("", out), 0u);

    EXPECT_EQ(ConfigRecord::macField("5a"), 0x5A);
    for (const char* bad : {"", "5", "G1", "5A1", " 5"}) {
        EXPECT_FALSE(ConfigRecord::macField(bad)) << bad;
    }
    EXPECT_EQ(ConfigRecord::octetField("0"), 0);
    EXPECT_EQ(ConfigRecord::octetField("255"), 255);
    EXPECT_EQ(ConfigRecord::octetField("007"), 7);
    for (const char* bad : {"", "256", "300", "1000", "-1", "1a"}) {
        EXPECT_FALSE(ConfigRecord::octetField(bad)) << bad;
    }
    // The command line's forms of the same fields.
    EXPECT_EQ(ConfigRecord::ipv4("10.0.0.9"), (ConfigRecord::Ipv4{10, 0, 0, 9}));
    EXPECT_EQ(ConfigRecord::mac("02:5a:45:4E:00:07"), ConfigRecord::mac("025A454E0007"));
    EXPECT_EQ(ConfigRecord::mac("02-5A-45-4E-00-07"),
              (ConfigRecord::Mac{2, 0x5A, 0x45, 0x4E, 0, 7}));
    for (const char* bad : {"", "10.0.0", "10.0.0.9.", "10..0.9", "10.0.0.256"}) {
        EXPECT_FALSE(ConfigRecord::ipv4(bad)) << bad;
    }
    for (const char* bad :
         {"02:5A:45:4E:00", "02:5A:45:4E:00:07:", ":025A454E0007", "025A454E000G"}) {
        EXPECT_FALSE(ConfigRecord::mac(bad)) << bad;
    }
}

TEST(ConfigReplyBuffer, JudgesAWholeAnswerFoundByItsTargetMac) {
    const ConfigRecord req = staticRequest();
    const auto accepted = answer(req, 0x00);
    ConfigReplyBuffer b;
    // Our own request coming back, a refusal, then an acceptance.
    EXPECT_EQ(feed(b, req.bytes(), {answer(req, 0xFF), answer(req, 0x01), accepted}),
              (std::vector<Outcome>{Outcome::NotAccepted, Outcome::Refused, Outcome::Accepted}));
    EXPECT_EQ(b.count(), 0u);

    // A refusal behind stray bytes stays a refusal: nothing past the received bytes is read.
    std::vector<std::uint8_t> shifted(10, 0x00);
    const auto refused = answer(req, 0x01);
    shifted.insert(shifted.end(), refused.begin(), refused.begin() + 70);
    EXPECT_EQ(feed(b, req.bytes(), {shifted, cut(refused, 70, 76)}),
              (std::vector<Outcome>{Outcome::Waiting, Outcome::Refused}));

    // 76 bytes that answer another matrix are dropped whole.
    auto other = accepted;
    other[0] = 0x04;
    EXPECT_EQ(feed(b, req.bytes(), {other}), (std::vector<Outcome>{Outcome::NotAccepted}));
    EXPECT_EQ(b.count(), 0u);
}

TEST(ConfigReplyBuffer, AnAnswerCutInsideItsMacAfterStrayBytesIsStillFound) {
    const ConfigRecord req = staticRequest();
    const auto accepted = answer(req, 0x00);
    // 75 stray bytes wait for more; the answer's first byte makes 76 with no MAC among them.
    // Dropping everything then would lose the answer's start and the acceptance with it.
    for (std::size_t head : {1u, 3u, 5u}) {
        ConfigReplyBuffer b;
        EXPECT_EQ(feed(b, req.bytes(),
                       {std::vector<std::uint8_t>(75, 0x61), cut(accepted, 0, head),
                        cut(accepted, head, 76)}),
                  (std::vector<Outcome>{Outcome::Waiting, Outcome::NotAccepted, Outcome::Accepted}))
            << head;
        EXPECT_EQ(b.count(), 0u);
    }
}

TEST(ConfigReplyBuffer, StaysWithinItsSize) {
    ConfigReplyBuffer b;
    for (std::size_t i = 0; i < ConfigReplyBuffer::kCapacity; ++i) {
        ASSERT_TRUE(b.append(0x33));
    }
    EXPECT_FALSE(b.append(0x44));
    EXPECT_EQ(b.count(), ConfigReplyBuffer::kCapacity);
    EXPECT_EQ(b.at(ConfigReplyBuffer::kCapacity), 0);
    EXPECT_EQ(b.judge(staticRequest().bytes()), Outcome::NotAccepted);
    EXPECT_EQ(b.count(), 0u);
}
