// The EDID download as the matrix sees it: every frame and the 290 bytes of the block, to one
// input and to all, the result frames, the refusals before anything is sent, silence, and a TCP
// connection that the matrix drops before the block.
#include "EdidFixture.h"
#include "sim/model/Exchange.h"

using namespace zentrel;
using namespace zentrel::testing;
using Kind = sim::FaultRule::Kind;
using sim::FrameMatch;

namespace {

using Bytes = std::vector<std::uint8_t>;

// The block as it crosses the wire: 00, the 256 EDID bytes, 33 bytes 00.
std::string blockHex(const Bytes& edid) {
    Bytes b(290, 0x00);
    std::copy(edid.begin(), edid.end(), b.begin() + 1);
    return sim::hexBytes(b);
}

Names chain() {
    return frames("01 0C 01 | 01 0C 02 | 01 0C 03 | 01 0C 04");
}

struct EdidDownload : EdidTest {
    void load(const Bytes& e, const std::string& name = "edid.bin") {
        ui.answers.push_back(files.write(name, e));
        press(edid::kOpenFile);
    }
    void downloadTo(int target) {
        choose(edid::kDownloadTarget, target);
        press(edid::kDownloadSet);
    }
};

struct EdidDownloadCom : EdidDownload {
    EdidDownloadCom() { openOverCom(); }
};

} // namespace

TEST_F(EdidDownloadCom, ToOneInputFrameByFrameAndByteByByte) {
    const Bytes e = goodEdid(1);
    load(e);
    const std::int64_t start = now();
    downloadTo(1);
    advance(100);

    const Names all = sent();
    ASSERT_EQ(all.size(), 5u) << harness.transcript();
    EXPECT_EQ(Names(all.begin(), all.begin() + 3),
              frames("03 08 F0 | 03 07 02 F0 | 03 07 56 00 00 01"));
    EXPECT_EQ(all[2], "A5 5B 03 07 56 00 00 01 00 00 00 00 9F");
    EXPECT_EQ(all[3], blockHex(e));
    EXPECT_EQ(all[4], frames("01 0C 02")[0]);
    // The block leaves 200 ms after the header.
    const auto& records = harness.frames().all();
    std::vector<std::int64_t> times;
    for (const auto& r : records) {
        if (r.direction == sim::FrameRecord::Direction::ToMatrix) {
            times.push_back(r.atMs - start);
        }
    }
    EXPECT_EQ(times[3] - times[2], 226); // 200 ms, then the 290 bytes' own time on the line

    EXPECT_EQ(harness.matrix().userEdid(2), e);
    EXPECT_EQ(popups.noticeTexts(), (Names{"Download successfully!"}));
    EXPECT_EQ(popups.progress.at(0).text, "Downloading . . .");
    EXPECT_EQ(statusLines()[1], "User define");
    EXPECT_FALSE(edid->busy());
}

TEST_F(EdidDownloadCom, ToAllInputsRefreshesTheWholeList) {
    const Bytes e = goodEdid(0);
    load(e);
    downloadTo(4);
    advance(100);
    EXPECT_EQ(sent(),
              frames("03 08 F0 | 03 06 FE F0 | 03 06 56 00 00 01") + Names{blockHex(e)} + chain());
    EXPECT_EQ(popups.noticeTexts(), (Names{"Download successfully!"}));
    EXPECT_EQ(statusLines(), Names(4, "User define"));
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(harness.matrix().userEdid(k), e);
    }
}

TEST_F(EdidDownloadCom, ASwitchReportRefusingTheDataHeaderEndsTheDownloadAndItsWaits) {
    load(goodEdid(1));
    harness.faults().add(sim::FaultRule{
        Kind::SwitchReport, FrameMatch::of(cmd::kEdidDownload).with(4, cmd::kEdidDataMark)});
    downloadTo(1);
    advance(20000);
    // Refused while the header waits for its block: the block still follows on its timer, but
    // nothing is repeated and no time-out follows for what was refused.
    const Names s = sent();
    ASSERT_EQ(s.size(), 4u) << harness.transcript();
    EXPECT_EQ(Names(s.begin(), s.begin() + 3),
              frames("03 08 F0 | 03 07 02 F0 | 03 07 56 00 00 01"));
    EXPECT_EQ(popups.noticeTexts(), (Names{"Please set the EDID to [1111]!"}));
    EXPECT_FALSE(edid->busy());
}

TEST_F(EdidDownloadCom, ARefusalInTheGapBeforeTheBlockEndsItAsAFailure) {
    // The result comes between the data header and its block: the block stays back and the
    // download ends as refused, not later as a time-out.
    for (const std::uint8_t command : {std::uint8_t{0x07}, std::uint8_t{0x06}}) {
        SCOPED_TRACE(command);
        load(goodEdid(1), "edid" + std::to_string(command) + ".bin");
        std::function<void()> refuseAfterTheHeader = [&] {
            if (sent().size() < 3) {
                harness.loop().schedule(1, refuseAfterTheHeader);
                return;
            }
            harness.serialPorts().sendToPanel(
                3, CommandFrame::make({0x03, command, 0xFF, 0, 2, 1}).bytes);
        };
        harness.loop().schedule(1, refuseAfterTheHeader);
        downloadTo(1);
        advance(20000);
        EXPECT_EQ(popups.noticeTexts(), Names{"Download failed!"}) << harness.transcript();
        EXPECT_EQ(sent().size(), 3u);
        EXPECT_TRUE(harness.matrix().userEdid(2).empty());
        EXPECT_FALSE(edid->busy());
        harness.clearFrames();
        popups.clear();
    }
}

TEST_F(EdidDownloadCom, ResultFramesAndRefusalsBeforeAnythingIsSent) {
    // No file yet.
    downloadTo(0);
    EXPECT_EQ(popups.noticeTexts(), (Names{"Select the file!"}));
    EXPECT_TRUE(sent().empty());

    // The matrix refuses the block: "Download failed!", nothing read back.
    popups.notices.clear();
    load(goodEdid(1));
    onFault(Kind::Refuse, FrameMatch::of(cmd::kEdidDownload).with(4, cmd::kEdidDataMark), 1);
    downloadTo(0);
    advance(100);
    EXPECT_EQ(popups.noticeTexts(), (Names{"Download failed!"}));
    EXPECT_EQ(sent().back().substr(0, 14), "00 00 FF FF FF"); // ends with the block
    EXPECT_EQ(sent().size(), 4u);

    // A 128-byte file after the 256-byte one: the block carries the new first block and the
    // old second one.
    harness.clearFrames();
    popups.notices.clear();
    const Bytes full = goodEdid(1);
    const Bytes other = goodEdid(1, 0x77);
    load(Bytes(other.begin(), other.begin() + 128), "half.bin");
    downloadTo(0);
    advance(100);
    Bytes expected(other.begin(), other.begin() + 128);
    expected.insert(expected.end(), full.begin() + 128, full.end());
    ASSERT_EQ(sent().size(), 5u);
    EXPECT_EQ(sent()[3], blockHex(expected));
    EXPECT_EQ(harness.matrix().userEdid(1), expected);
    EXPECT_EQ(popups.noticeTexts(), (Names{"Download successfully!"}));

    // A second Set while one runs.
    popups.notices.clear();
    onFault(Kind::Silent, FrameMatch::of(cmd::kEdidAccess), 1);
    at(1000, [this] { press(edid::kDownloadSet); });
    downloadTo(0);
    advance(100);
    EXPECT_EQ(popups.noticeTexts(), (Names{"Please wait...", "Download successfully!"}));
}

TEST_F(EdidDownload, OverTcpTheWholeDownloadWorks) {
    openOverTcp();
    const Bytes e = goodEdid(1, 0x05);
    load(e);
    downloadTo(3);
    advance(100);
    EXPECT_EQ(sent(), frames("03 08 F0 | 03 07 04 F0 | 03 07 56 00 00 01") + Names{blockHex(e)} +
                          frames("01 0C 04"));
    EXPECT_EQ(harness.matrix().userEdid(4), e);
    EXPECT_EQ(popups.noticeTexts(), (Names{"Download successfully!"}));
}
