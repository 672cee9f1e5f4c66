// Feeds arbitrary input through the serial assembler and the TCP reply buffer, with their logs,
// and stops on any broken invariant. The first input byte picks the options and the cut of the
// stream into reads; the rest is the stream.
#include "session/ReceiveLog.h"
#include "session/SerialByteMessage.h"
#include "platform/DialogTemplate.h"
#include "platform/Window.h"
#include "platform/sim/VirtualEventLoop.h"
#include "protocol/ReplyAssembler.h"
#include "protocol/TcpReplyBuffer.h"
#include "state/SharedState.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

using namespace zentrel;

namespace {

constexpr int kBox = 1060;
const DialogTemplate kPage{1, "page", 10, 10, {{kBox, ControlKind::Edit, ""}}};

bool portInRange(LParam port) {
    return port >= 1 && port <= 255;
}

void check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::uint8_t control = data[0];
    const std::span<const std::uint8_t> stream(data + 1, size - 1);
    const std::size_t readSize = (control & 0x3F) + 1u;

    VirtualEventLoop loop;
    Window singlePage(loop);
    Window bulkPage(loop);
    singlePage.create(kPage);
    bulkPage.create(kPage);
    ReceiveLog singleLog(singlePage, kBox, true);
    ReceiveLog bulkLog(bulkPage, kBox, true);
    const ReplyAssembler::Options options{.countsStrayBytes = (control & 0x40) != 0};
    ReplyAssembler single(&singleLog, options);
    ReplyAssembler bulk(&bulkLog, options);

    std::vector<CommandFrame> one;
    for (std::size_t i = 0; i < stream.size(); ++i) {
        // Port numbers and modes are fuzzed too: every eighth byte comes from an odd port.
        const LParam port = (i % 8 == 7) ? static_cast<LParam>(stream[i]) * 3 - 100 : 1;
        auto out = onSerialByteMessage(single, kModeCom, stream[i], port);
        check(out.result == (portInRange(port) ? 0 : -1));
        check(single.length() >= 0 && single.length() < 13);
        check(single.logCounter() >= 0 && single.logCounter() < 13);
        if (out.frame) {
            check(out.frame->frame.hasHeader());
            check(out.frame->checksumPassed() == out.frame->frame.checksumOk());
            one.push_back(out.frame->frame);
        }
    }

    // Bulk: the bytes that passed the port check, fed in reads of readSize.
    std::vector<std::uint8_t> accepted;
    for (std::size_t i = 0; i < stream.size(); ++i) {
        const LParam port = (i % 8 == 7) ? static_cast<LParam>(stream[i]) * 3 - 100 : 1;
        if (portInRange(port)) {
            accepted.push_back(stream[i]);
        }
    }
    std::vector<CommandFrame> all;
    for (std::size_t at = 0; at < accepted.size(); at += readSize) {
        const std::size_t n = std::min(readSize, accepted.size() - at);
        for (const AssembledFrame& f : bulk.feedAll(std::span(accepted).subspan(at, n))) {
            all.push_back(f.frame);
        }
    }
    check(one == all);
    check(singlePage.text(kBox) == bulkPage.text(kBox));

    // Whatever the garbage left, once an open frame has had its thirteen bytes a valid reply is
    // dispatched exactly once and unchanged.
    const CommandFrame valid = CommandFrame::make({0x01, 0x04, 0x02, 0x00, 0x01});
    while (bulk.inFrame()) {
        (void)bulk.feed(0x00);
    }
    const std::vector<AssembledFrame> after = bulk.feedAll(valid.bytes);
    check(after.size() == 1 && after[0].frame == valid && after[0].checksumPassed());

    TcpReplyBuffer tcp(&bulkLog, (control & 0x80) != 0 ? TcpReplyBuffer::LogStyle::PerByte
                                                       : TcpReplyBuffer::LogStyle::PerReply);
    for (std::size_t at = 0; at < stream.size(); at += readSize * 37) {
        const std::size_t n = std::min(readSize * 37, stream.size() - at);
        const std::span<const std::uint8_t> read = stream.subspan(at, n);
        auto reply = tcp.onRead(read, (read[0] & 1) == 0);
        check(tcp.fill() < 13);
        if (reply) {
            check(reply->hasHeader());
        }
    }
    // Filled up to a reply's length, whatever came before, the next reply is taken whole.
    if (tcp.fill() > 0) {
        const std::vector<std::uint8_t> pad(CommandFrame::kSize - tcp.fill(), 0x00);
        (void)tcp.onRead(pad);
        check(tcp.fill() == 0);
    }
    const auto reply = tcp.onRead(valid.bytes);
    check(reply && *reply == valid);
    return 0;
}
