// The page around the transfer: opening it, the device line, choosing files, the refusals
// before anything is sent, and what the page takes from a socket it shares with other tabs.
#include "FirmwareFixture.h"

using namespace zentrel;
using namespace zentrel::testing;

TEST_F(FirmwareTest, TheLinkIsCheckedBeforeAnythingIsSent) {
    main->selectPage(kPageFirmware); // COM mode, nothing connected
    page = &dynamic_cast<FirmwarePage&>(main->page(kPageFirmware));
    advance(2000);
    load(content(1026));
    upgrade();
    EXPECT_EQ(popups.noticeTexts(), (Names{"Open COM failed!", "Open COM failed!"}));
    general->click(gen::kTcpRadio);
    upgrade();
    EXPECT_EQ(popups.noticeTexts().back(), "Connect to Matrix failed!");
    EXPECT_EQ(sent(), Names{});
    EXPECT_FALSE(state().UpgradeRunning);
}

TEST_F(FirmwareTest, TheLogsHoldLineBreaksBlockNoticesAndReplies) {
    overCom();
    load(content(300));
    upgrade();
    runUpgrade();
    const std::string log = page->text(fw::kSendLog);
    EXPECT_NE(log.find("\r\nSend data:\r\n"), std::string::npos);
    // Nothing but those lines, not a byte of the blocks: a line for each frame and each block,
    // the device line's three questions on showing the page included.
    std::string rest = log;
    std::size_t lines = 0;
    for (const std::string cut : {"Send data:\r\n", "\r\n"}) {
        for (auto at = rest.find(cut); at != std::string::npos; at = rest.find(cut)) {
            rest.erase(at, cut.size());
            ++lines;
        }
    }
    EXPECT_EQ(rest, "");
    EXPECT_EQ(lines, 3 + sent().size());
    // The receive log has every reply on a line of its own, the reboot report last.
    const std::string received = page->text(fw::kReceiveLog);
    const std::string report = "A5 5B 01 01 01 00 00 00 00 00 00 00 FD \r\n";
    ASSERT_GE(received.size(), report.size());
    EXPECT_EQ(received.substr(received.size() - report.size()), report);
}
