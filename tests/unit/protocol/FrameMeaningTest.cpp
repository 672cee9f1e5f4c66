// The catalogue's words for frames both ways, and the reply views that read them.
#include "protocol/FrameMeaning.h"
#include "protocol/HexText.h"
#include "protocol/Replies.h"
#include "protocol/Requests.h"

#include <gtest/gtest.h>

using namespace zentrel;

namespace {

CommandFrame answerOf(Command c, std::initializer_list<std::uint8_t> args) {
    return c.frame(args);
}

} // namespace

TEST(FrameMeaning, NamesRequestsAndRepliesInWords) {
    using D = FrameDirection;
    CommandFrame spoilt = cmd::queryInput(1);
    spoilt[12] ^= 1;
    CommandFrame noHeader = cmd::reboot();
    noHeader[0] = 0;
    const struct {
        CommandFrame frame;
        D way;
        const char* words;
    } rows[] = {
        {cmd::routeInput(3, 2), D::ToMatrix, "route input 3 to output B"},
        {cmd::queryInput(1), D::ToMatrix, "ask whether input 1 is connected"},
        {cmd::queryRouting(4), D::ToMatrix, "ask which input output D shows"},
        {cmd::builtInEdid(11, 3), D::ToMatrix, "built-in EDID 11 to input 3"},
        {cmd::copyEdidAll(2), D::ToMatrix, "copy the EDID of output B to all inputs"},
        {cmd::edidDownloadRequest(2), D::ToMatrix, "download an EDID to input 2"},
        {cmd::edidDataHeaderAll(), D::ToMatrix, "EDID data for all inputs follows"},
        {cmd::setPower(false), D::ToMatrix, "power off"},
        {cmd::kBeep.frame({0x33}), D::ToMatrix, "beep set to 33"},
        {cmd::firmwarePartStart(2, cmd::kFirmwarePart3Start), D::ToMatrix, "start Part_3"},
        {cmd::firmwarePartStart(1, cmd::kFirmwarePrepare2), D::ToMatrix, "prepare Part_1, step 2"},
        {cmd::firmwareBlockHeader(1, 12), D::ToMatrix, "firmware block 12 of Part_1"},
        {cmd::withBankMark(cmd::firmwareBlockHeader(2, 0xF0)), D::ToMatrix,
         "firmware block 240 of Part_2"},
        {cmd::firmwareLastBlockHeader(3, 7), D::ToMatrix, "last firmware block 7 of Part_3"},
        {spoilt, D::ToMatrix, "ask whether input 1 is connected (bad checksum)"},
        {noHeader, D::ToMatrix, "not a frame"},
        {CommandFrame::make({0x09, 0x01}), D::ToMatrix, "unknown command 09 01"},
        // The matrix's answers: the same command bytes, other words.
        {answerOf(cmd::kInputStatus, {1, 0, reply::kStateOn}), D::FromMatrix, "input 1: connected"},
        {answerOf(cmd::kOutputStatus, {3, 0, reply::kStateOff}), D::FromMatrix,
         "output C: disconnected"},
        {answerOf(cmd::kModel, {4, 0, 4}), D::FromMatrix, "model 4x4"},
        {answerOf(cmd::kDeviceType, {reply::kTypeHdbt}), D::FromMatrix, "device type HDBT"},
        {answerOf(cmd::kRouting, {2, 0, 3}), D::FromMatrix, "output B shows input 3"},
        {answerOf(cmd::kRouting, {2, 0, cmd::kAbsent}), D::FromMatrix, "output B: no input"},
        {answerOf(cmd::kSwitch, {reply::kDone, 0, 2}), D::FromMatrix, "routed to output B"},
        {answerOf(cmd::kSwitch, {reply::kRefused, 0, 2}), D::FromMatrix, "route refused, output B"},
        {answerOf(cmd::kEdidStatus, {2, 0, 0x10}), D::FromMatrix, "input 2: the EDID of output B"},
        {answerOf(cmd::kEdidStatus, {2, 0, 0x03}), D::FromMatrix, "input 2: built-in EDID 4"},
        {answerOf(cmd::kEdidBuiltIn, {reply::kDone, 0, 3}), D::FromMatrix, "EDID of input 3 set"},
        {answerOf(cmd::kEdidSwitchReport, {reply::kSwitchRefused}), D::FromMatrix,
         "EDID change refused"},
        {answerOf(cmd::kEdidDownload, {reply::kEdidReady, 0, 2}), D::FromMatrix,
         "ready for the EDID data"},
        {answerOf(cmd::kEdidDownloadAll, {reply::kRefused, 0, 0, reply::kEdidResult}),
         D::FromMatrix, "EDID download refused"},
        {answerOf(cmd::kPowerState, {cmd::kOff}), D::FromMatrix, "power: off (standby)"},
        {answerOf(cmd::kBeepState, {0, 0, reply::kStateOn}), D::FromMatrix, "beep: on"},
        {answerOf(cmd::kIrControl, {reply::kRefused, 0, reply::kRefused}), D::FromMatrix,
         "IR control refused"},
        {cmd::kStandby.frame(), D::FromMatrix, "standby"},
        {cmd::firmwareAnswer(2, cmd::kFirmwareLast), D::FromMatrix, "Part_3 ready"},
        {cmd::firmwareBlockAck(1, cmd::kFirmwareMark, 12), D::FromMatrix,
         "firmware block 12 of Part_1 taken"},
        {cmd::firmwarePartComplete(2), D::FromMatrix, "Part_2 complete"},
        {CommandFrame::make({0x09, 0x01}), D::FromMatrix, "unknown reply 09 01"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(describeFrame(row.frame, row.way), row.words) << row.frame.hex();
    }
    // A log line: a frame, a frame behind stray bytes, bytes without a frame, or no hex at all.
    EXPECT_EQ(describeHex(cmd::reboot().hex(), D::FromMatrix), "rebooting");
    EXPECT_EQ(describeHex("00 " + cmd::reboot().hex(), D::ToMatrix), "reboot, after 1 byte");
    EXPECT_EQ(describeHex(hexList(std::vector<std::uint8_t>(257, 0x11)), D::ToMatrix), "257 bytes");
    EXPECT_EQ(describeHex("Send data:", D::ToMatrix), "");
}

TEST(ReplyViews, ReadTheirReplyAndRejectEveryOther) {
    const CommandFrame ack = answerOf(cmd::kSwitch, {reply::kDone, 0, 3});
    ASSERT_TRUE(reply::switchAck(ack));
    EXPECT_EQ(reply::switchAck(ack)->output, 3);
    EXPECT_TRUE(reply::switchAck(ack)->ok);
    // A request read as a reply, or a reply of another command, is not the reply asked for.
    EXPECT_FALSE(reply::switchAck(answerOf(cmd::kRouting, {reply::kDone, 0, 3})));
    EXPECT_FALSE(reply::portState(cmd::queryModel()));
    EXPECT_FALSE(reply::beepState(answerOf(cmd::kIrState, {0, 0, 0})));
    // Byte 5 set: neither an EDID status nor a switch report.
    EXPECT_FALSE(reply::edidStatus(answerOf(cmd::kEdidStatus, {2, 1, 3})));
    EXPECT_FALSE(reply::switchReport(answerOf(cmd::kEdidSwitchReport, {0x0F, 1})));
    EXPECT_FALSE(reply::firmwareAnswer(cmd::firmwareBlockHeader(1, 3)))
        << "a block header is not an answer";
    const auto p = reply::portState(answerOf(cmd::kOutputStatus, {2, 0, cmd::kAbsent}));
    ASSERT_TRUE(p);
    EXPECT_FALSE(p->input);
    EXPECT_FALSE(p->connected);
    const auto d = reply::edidDownloadAnswer(answerOf(cmd::kEdidDownload, {0xAA, 0, 0, 1}));
    ASSERT_TRUE(d);
    EXPECT_FALSE(d->ready) << "AA in a result is no go-ahead";
    EXPECT_TRUE(d->result);
    const auto a = reply::answer(cmd::kEdidAccess, answerOf(cmd::kEdidAccess, {0, 0, 2}));
    ASSERT_TRUE(a);
    EXPECT_TRUE(a->done);
    EXPECT_FALSE(a->doneForAll());
    EXPECT_TRUE(request::firmwareBlockHeader(cmd::firmwareLastBlockHeader(2, 5))->last);
    EXPECT_EQ(request::firmwareBlockHeader(cmd::withBankMark(cmd::firmwareBlockHeader(1, 0xF0)))
                  ->blockId(),
              cmd::kFirmwareBankId);
    EXPECT_FALSE(request::firmwareFrame(cmd::firmwareBlockHeader(1, 3)));
    EXPECT_FALSE(request::edidFixedBytesRight(cmd::kEdidBuiltIn.frame({4, 0x00, 1})));
    EXPECT_TRUE(request::edidFixedBytesRight(cmd::edidDataHeaderAll()));
    EXPECT_FALSE(request::edidFixedBytesRight(CommandFrame(cmd::edidDataHeader()).put(7, 0x02)));
}
