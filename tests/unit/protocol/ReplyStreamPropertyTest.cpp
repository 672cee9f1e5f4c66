// Seeded random streams through the serial assembler: noise, sound and damaged replies, runs of
// A5, replies cut short, fed byte by byte and in reads of random sizes.
#include "TextReplyLog.h"
#include "protocol/ReplyAssembler.h"

#include <gtest/gtest.h>

#include <random>

using namespace zentrel;
using namespace zentrel::test;

namespace {

constexpr int kStreams = 3000;
constexpr std::size_t kFrame = CommandFrame::kSize;

struct Streams {
    std::mt19937 rng;
    std::uint8_t byte() { return static_cast<std::uint8_t>(rng()); }
    std::size_t upTo(std::size_t n) { return rng() % (n + 1); }

    std::vector<std::uint8_t> stream() {
        std::vector<std::uint8_t> s;
        for (std::size_t p = upTo(30); p > 0; --p) {
            CommandFrame f = CommandFrame::make({byte(), byte(), byte(), 0, byte()});
            switch (upTo(4)) {
            case 0: // noise
                for (std::size_t n = upTo(30); n > 0; --n) {
                    s.push_back(byte());
                }
                continue;
            case 1: // a run of A5, of which only the first may start a frame
                s.insert(s.end(), upTo(3) + 1, 0xA5);
                continue;
            case 2: // one byte damaged, header and checksum included
                f.bytes[upTo(12)] ^= static_cast<std::uint8_t>(byte() | 1);
                break;
            case 3: // cut short
                s.insert(s.end(), f.bytes.begin(), f.bytes.begin() + static_cast<long>(upTo(12)));
                continue;
            }
            s.insert(s.end(), f.bytes.begin(), f.bytes.end());
        }
        return s;
    }

    std::vector<std::span<const std::uint8_t>> reads(const std::vector<std::uint8_t>& s) {
        std::vector<std::span<const std::uint8_t>> out;
        for (std::size_t at = 0; at < s.size();) {
            const std::size_t n = std::min(upTo(40), s.size() - at);
            out.push_back(std::span(s).subspan(at, n));
            at += n;
        }
        return out;
    }
};

// The frames read by hand: 13 bytes from an A5 met outside a frame, kept when byte 1 is 5B.
std::vector<CommandFrame> framesByHand(const std::vector<std::uint8_t>& s) {
    std::vector<CommandFrame> frames;
    for (std::size_t i = 0; i < s.size();) {
        if (s[i] != 0xA5 || i + kFrame > s.size()) {
            ++i;
            continue;
        }
        if (s[i + 1] == 0x5B) {
            frames.push_back(CommandFrame::fromBytes(std::span(s).subspan(i).first<kFrame>()));
        }
        i += kFrame;
    }
    return frames;
}

} // namespace

TEST(ReplyStreams, SerialFramesAreTheSameWhetherFedByteByByteOrInReads) {
    Streams gen{std::mt19937(20240613)};
    for (int n = 0; n < kStreams; ++n) {
        const std::vector<std::uint8_t> s = gen.stream();
        TextReplyLog singleLog, bulkLog;
        ReplyAssembler single(&singleLog), bulk(&bulkLog);
        std::vector<CommandFrame> one, all;
        for (std::uint8_t b : s) {
            auto done = single.feed(b);
            ASSERT_TRUE(single.length() < 13 && single.logCounter() < 13);
            if (done) {
                ASSERT_TRUE(done->frame.hasHeader());
                ASSERT_EQ(done->checksumPassed(), done->frame.checksumOk());
                one.push_back(done->frame);
            }
        }
        for (auto read : gen.reads(s)) {
            for (const AssembledFrame& f : bulk.feedAll(read)) {
                all.push_back(f.frame);
            }
        }
        ASSERT_EQ(one, all) << "stream " << n;
        ASSERT_EQ(one, framesByHand(s)) << "stream " << n;
        ASSERT_EQ(singleLog.text, bulkLog.text);
    }
}
