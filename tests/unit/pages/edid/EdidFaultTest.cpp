// An EDID download when the link fails while it runs: the serial adapter pulled or the TCP
// peer resetting after any of its frames, standby announced at any step, and every reply
// doubled. The page always ends with a notice, is never left busy with the tabs locked, and
// sends no frame more than twice.
#include "EdidFixture.h"

#include <map>

using namespace zentrel;
using namespace zentrel::testing;
using Kind = sim::FaultRule::Kind;
using sim::FrameMatch;

namespace {

struct EdidFaults : EdidFixture {
    void load() {
        ui.answers.push_back(files.write("edid.bin", goodEdid(1)));
        press(edid::kOpenFile);
    }
    // Download to input 2, with `fault` run once the matrix has received `count` units.
    void downloadWith(std::size_t count, std::function<void()> fault) {
        whenReceived(count, std::move(fault));
        choose(edid::kDownloadTarget, 1);
        press(edid::kDownloadSet);
        advance(30000);
    }
    void whenReceived(std::size_t count, std::function<void()> fn) {
        harness.loop().schedule(1, [this, count, fn = std::move(fn)]() mutable {
            if (sent().size() >= count) {
                fn();
            } else {
                whenReceived(count, std::move(fn));
            }
        });
    }
    void expectSettled() {
        EXPECT_FALSE(edid->busy());
        EXPECT_FALSE(main->progress().isVisible());
        for (int tab : {ctl::kGeneralTab, ctl::kEdidTab, ctl::kMatrixTab, ctl::kFirmwareTab}) {
            EXPECT_TRUE(main->isEnabled(tab)) << tab;
        }
        std::map<std::string, int> counts;
        for (const std::string& s : sent()) {
            ++counts[s];
        }
        for (const auto& [hex, n] : counts) {
            EXPECT_LE(n, 2) << hex.substr(0, 40) << "\n" << harness.transcript();
        }
        EXPECT_FALSE(popups.notices.empty());
    }
};

// The units of a download to input 2: access, request, header, block, then the refresh.
constexpr std::size_t kDownloadUnits = 4;

} // namespace

TEST(EdidFaultInjection, SerialAdapterPulledAfterAnyUnitOfADownload) {
    for (std::size_t step = 1; step <= kDownloadUnits; ++step) {
        SCOPED_TRACE("pulled after unit " + std::to_string(step));
        EdidFaults f;
        f.openOverCom();
        f.load();
        f.downloadWith(step, [&] { f.harness.unplugSerial(); });
        EXPECT_EQ(f.state().ComPortOpen, 0);
        f.expectSettled();
    }
}

TEST(EdidFaultInjection, TcpPeerResetAfterAnyUnitOfADownload) {
    for (std::size_t step = 1; step <= kDownloadUnits; ++step) {
        SCOPED_TRACE("reset after unit " + std::to_string(step));
        EdidFaults f;
        f.openOverTcp();
        f.load();
        f.downloadWith(step, [&] { f.harness.resetTcp(); });
        EXPECT_EQ(f.state().TcpConnected, 0);
        f.expectSettled();
    }
}

TEST(EdidFaultInjection, StandbyAtAnyStepOfADownload) {
    for (bool tcp : {false, true}) {
        for (std::size_t step = 1; step <= kDownloadUnits; ++step) {
            SCOPED_TRACE((tcp ? "TCP, standby after unit " : "COM, standby after unit ") +
                         std::to_string(step));
            EdidFaults f;
            tcp ? f.openOverTcp() : f.openOverCom();
            f.load();
            f.downloadWith(step, [&] { f.harness.announceStandby(); });
            f.expectSettled();
        }
    }
}

TEST(EdidFaultInjection, DoubledRepliesDownloadOnceAndSucceed) {
    for (bool tcp : {false, true}) {
        SCOPED_TRACE(tcp ? "TCP" : "COM");
        EdidFaults f;
        tcp ? f.openOverTcp() : f.openOverCom();
        f.load();
        f.onFault(Kind::Duplicate, FrameMatch::all());
        f.downloadWith(1, [] {});
        EXPECT_EQ(f.popups.noticeTexts(), Names{"Download successfully!"})
            << f.harness.transcript();
        EXPECT_EQ(f.harness.matrix().userEdid(2), goodEdid(1));
        f.expectSettled();
    }
}

TEST(EdidFaultInjection, ARefusalBeforeTheBlockLeavesEndsAsAFailure) {
    // The result comes in the gap between the data header and the block: the block stays back
    // and the download ends as refused, not later as a time-out.
    for (const std::uint8_t command : {std::uint8_t{0x07}, std::uint8_t{0x06}}) {
        SCOPED_TRACE(command);
        EdidFaults f;
        f.openOverCom();
        f.load();
        f.downloadWith(3, [&f, command] {
            const CommandFrame refused = CommandFrame::make({0x03, command, 0xFF, 0, 2, 1});
            f.harness.serialPorts().sendToPanel(
                3, std::vector<std::uint8_t>(refused.bytes.begin(), refused.bytes.end()));
        });
        EXPECT_EQ(f.popups.noticeTexts(), Names{"Download failed!"}) << f.harness.transcript();
        EXPECT_TRUE(f.harness.matrix().userEdid(2).empty());
        f.expectSettled();
    }
}
