// Seeded random byte streams through both assemblers: noise, sound frames, frames with a bad
// header or checksum, runs of A5. Run under -fsanitize=address,undefined as well.
#include "LogPage.h"
#include "platform/sim/VirtualEventLoop.h"
#include "protocol/CommandBuilders.h"
#include "protocol/ReceiveLog.h"
#include "protocol/ReplyAssembler.h"
#include "protocol/TcpReplyBuffer.h"
#include "state/SharedState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

using namespace zentrel;
using namespace zentrel::test;

namespace {

constexpr int kStreams = 3000;
constexpr std::size_t kFrame = CommandFrame::kSize;

std::vector<std::uint8_t> randomStream(std::mt19937& rng) {
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> piece(0, 5);
    std::uniform_int_distribution<int> count(0, 30);
    std::vector<std::uint8_t> s;
    const int pieces = count(rng);
    for (int p = 0; p < pieces; ++p) {
        switch (piece(rng)) {
        case 0: // noise
            for (int n = count(rng); n > 0; --n) {
                s.push_back(static_cast<std::uint8_t>(byte(rng)));
            }
            break;
        case 1: // a run of A5, which only the first of may start a frame
            s.insert(s.end(), static_cast<std::size_t>(count(rng) % 4 + 1), 0xA5);
            break;
        case 2:
        case 3: { // a sound reply
            CommandFrame f = commandFrameB6(
                static_cast<std::uint8_t>(byte(rng)), static_cast<std::uint8_t>(byte(rng)),
                static_cast<std::uint8_t>(byte(rng)), static_cast<std::uint8_t>(byte(rng)));
            s.insert(s.end(), f.bytes.begin(), f.bytes.end());
            break;
        }
        case 4: { // a reply with one byte damaged, the header included
            CommandFrame f = commandFrame(1, 4, static_cast<std::uint8_t>(byte(rng)));
            f.bytes[static_cast<std::size_t>(byte(rng)) % kFrame] ^=
                static_cast<std::uint8_t>(byte(rng) | 1);
            s.insert(s.end(), f.bytes.begin(), f.bytes.end());
            break;
        }
        default: { // a reply cut short
            CommandFrame f = commandFrame(2, 1, 3);
            s.insert(s.end(), f.bytes.begin(),
                     f.bytes.begin() + static_cast<std::ptrdiff_t>(count(rng) % kFrame));
            break;
        }
        }
    }
    return s;
}

// Cuts a stream into reads of random sizes, some empty.
std::vector<std::span<const std::uint8_t>> randomReads(std::mt19937& rng,
                                                       const std::vector<std::uint8_t>& s) {
    std::uniform_int_distribution<std::size_t> size(0, 40);
    std::vector<std::span<const std::uint8_t>> reads;
    for (std::size_t at = 0; at < s.size();) {
        const std::size_t n = std::min(size(rng), s.size() - at);
        reads.push_back(std::span(s).subspan(at, n));
        at += n;
    }
    return reads;
}

// The frames of a stream as read by hand: a frame is the 13 bytes from an A5 met outside a
// frame, kept when its second byte is 5B.
std::vector<CommandFrame> expectedSerialFrames(const std::vector<std::uint8_t>& s) {
    std::vector<CommandFrame> frames;
    std::size_t i = 0;
    while (i < s.size()) {
        if (s[i] != 0xA5) {
            ++i;
            continue;
        }
        if (i + kFrame > s.size()) {
            break;
        }
        if (s[i + 1] == 0x5B) {
            frames.push_back(CommandFrame::fromBytes(std::span(s).subspan(i).first<kFrame>()));
        }
        i += kFrame;
    }
    return frames;
}

} // namespace

TEST(ReplyStreams, SerialFramesDoNotDependOnHowTheBytesAreFed) {
    std::mt19937 rng(20240613);
    VirtualEventLoop loop;
    for (int n = 0; n < kStreams; ++n) {
        const std::vector<std::uint8_t> s = randomStream(rng);
        LogPage singlePage(loop);
        LogPage bulkPage(loop);
        ReceiveLog singleLog(singlePage, kReceiveBox, true);
        ReceiveLog bulkLog(bulkPage, kReceiveBox, true);
        ReplyAssembler single(&singleLog);
        ReplyAssembler bulk(&bulkLog);

        std::vector<CommandFrame> one;
        for (std::uint8_t b : s) {
            auto out = single.onByteMessage(kModeCom, b, 1);
            ASSERT_LE(single.length(), 12);
            ASSERT_LE(single.logCounter(), 12);
            if (out.frame) {
                const AssembledFrame& f = *out.frame;
                ASSERT_TRUE(f.frame.hasHeader());
                ASSERT_EQ(f.checksumPassed(), f.frame.checksumOk());
                for (std::size_t i = 0; i < kFrame; ++i) {
                    ASSERT_EQ(f.values[i], f.frame.bytes[i]);
                }
                one.push_back(f.frame);
            }
        }
        std::vector<CommandFrame> all;
        for (std::span<const std::uint8_t> read : randomReads(rng, s)) {
            for (const AssembledFrame& f : bulk.feedAll(read)) {
                all.push_back(f.frame);
            }
        }
        ASSERT_EQ(one, all) << "stream " << n;
        ASSERT_EQ(one, expectedSerialFrames(s)) << "stream " << n;
        ASSERT_EQ(singlePage.text(kReceiveBox), bulkPage.text(kReceiveBox));
        ASSERT_EQ(singleLog.mirror().size(), s.size() * 3);
    }
}

TEST(ReplyStreams, TcpRepliesAreTheFirstThirteenBytesOfEachAccumulation) {
    std::mt19937 rng(777);
    VirtualEventLoop loop;
    for (int n = 0; n < kStreams; ++n) {
        const std::vector<std::uint8_t> s = randomStream(rng);
        LogPage page(loop);
        ReceiveLog log(page, kReceiveBox);
        TcpReplyBuffer buffer(&log);
        std::vector<std::uint8_t> held; // what the buffer should hold, by hand
        std::string expectedLog;
        for (std::span<const std::uint8_t> read : randomReads(rng, s)) {
            const std::size_t room = TcpReplyBuffer::kCapacity - held.size();
            held.insert(held.end(), read.begin(),
                        read.begin() + static_cast<std::ptrdiff_t>(std::min(room, read.size())));
            auto reply = buffer.onRead(read);
            ASSERT_LT(buffer.fill(), kFrame);
            if (held.size() >= kFrame) {
                const CommandFrame first = CommandFrame::fromBytes(std::span(held).first<kFrame>());
                expectedLog += first.hex() + " \r\n";
                if (first.hasHeader()) {
                    ASSERT_TRUE(reply);
                    ASSERT_EQ(*reply, first);
                } else {
                    ASSERT_FALSE(reply);
                }
                held.clear();
            } else {
                ASSERT_FALSE(reply);
            }
            ASSERT_EQ(buffer.fill(), held.size());
        }
        ASSERT_EQ(page.text(kReceiveBox), expectedLog) << "stream " << n;
    }
}

TEST(ReplyStreams, TcpRepliesReadOneAtATimeAreAllDispatched) {
    // A matrix that answers one request at a time: each reply arrives in reads that never run
    // into the next one, in whatever pieces, and every sound reply is dispatched.
    std::mt19937 rng(4242);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<std::size_t> cut(0, kFrame);
    for (int n = 0; n < kStreams; ++n) {
        TcpReplyBuffer buffer;
        std::vector<CommandFrame> sent;
        std::vector<CommandFrame> got;
        for (int r = 0; r < 5; ++r) {
            const CommandFrame reply = commandFrameB6(
                static_cast<std::uint8_t>(byte(rng)), static_cast<std::uint8_t>(byte(rng)),
                static_cast<std::uint8_t>(byte(rng)), static_cast<std::uint8_t>(byte(rng)));
            sent.push_back(reply);
            const std::size_t a = cut(rng);
            const std::size_t b = std::max(a, cut(rng));
            for (auto read :
                 {std::span(reply.bytes).first(a), std::span(reply.bytes).subspan(a, b - a),
                  std::span(reply.bytes).subspan(b)}) {
                if (auto f = buffer.onRead(read)) {
                    got.push_back(*f);
                }
            }
        }
        ASSERT_EQ(got, sent);
    }
}
