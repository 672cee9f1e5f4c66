// The page around the transfer: opening it, the device line, choosing files, the refusals
// before anything is sent, and what the page takes from a socket it shares with other tabs.
#include "FirmwareFixture.h"

using namespace zentrel;
using namespace zentrel::testing;

TEST_F(FirmwareTest, OpensWithItsLogsAndMergeAreaHiddenAndTheDeviceLineFilled) {
    harness.state().deviceType = 1;
    harness.state().inputs = 4;
    harness.state().outputs = 4;
    harness.state().firmwareMajor = 2;
    harness.state().firmwareMinor = 5;
    overCom();
    for (int id : {fw::kReceiveLog, fw::kSendLog, fw::kMergeGroup, 1122, 1216}) {
        EXPECT_FALSE(page->isShown(id)) << id;
    }
    EXPECT_EQ(page->control(fw::kOpen).tooltip, "Open");
    EXPECT_EQ(page->text(fw::kDeviceLine), "Device: HDMI MATRIX 4x4          Version: 2.5");

    // Another type keeps its own name; an unknown type keeps the last name known. The size
    // is inputs x outputs.
    harness.state().inputs = 8;
    for (const auto& [type, line] : {std::pair<int, const char*>{2, "Device: HDBT MATRIX 8x4"},
                                     {3, "Device: HDMI+HDBT etc MATRIX 8x4"},
                                     {9, "Device: HDMI+HDBT etc MATRIX 8x4"}}) {
        harness.state().deviceType = static_cast<std::uint8_t>(type);
        main->selectPage(kPageFirmware);
        advance(500);
        EXPECT_EQ(page->text(fw::kDeviceLine), std::string(line) + "          Version: 2.5");
    }
}

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

TEST_F(FirmwareTest, OpenAsksForFirmwareFilesAndLoadsOnlyWhatItCan) {
    overCom();
    const Bytes first = content(1026);
    load(first, "first.fw");
    EXPECT_EQ(ui.filters, Names{"Binary file(*.fw)|*.fw||"});
    const std::string firstPath = (dir / "first.fw").string();
    EXPECT_EQ(page->text(fw::kPath), firstPath);

    // Cancelled, another extension, unreadable, a directory, too large: the first file stays.
    page->click(fw::kOpen);
    open(writeFile("other.bin", scrambled(content(500, 0xA4, 0x5B))));
    open((dir / "missing.fw").string());
    std::filesystem::create_directories(dir / "folder.fw");
    open((dir / "folder.fw").string());
    open(writeFile("huge.BIN", Bytes(FirmwareImage::kCapacity + 1, 0)));
    EXPECT_EQ(popups.noticeTexts(true),
              (Names{"Cannot read the firmware file! (1500 ms)",
                     "Cannot read the firmware file! (1500 ms)",
                     "Firmware file is larger than 200000 bytes! (1500 ms)"}));
    EXPECT_EQ(page->text(fw::kPath), firstPath);
    EXPECT_EQ(page->image().length(), first.size());
    EXPECT_EQ(page->image().markerAt(0), PartMarker::Part1);

    // ".BIN" in capitals is a firmware file too, and the largest that fits loads.
    open(writeFile("max.BIN", Bytes(FirmwareImage::kCapacity, 0)));
    EXPECT_EQ(page->image().length(), FirmwareImage::kCapacity);
}

TEST_F(FirmwareTest, OverTcpAPageLeftIdleTakesOnlyItsDeviceLineAndStandby) {
    overTcp();
    load(content(1026));
    // A firmware answer before Upgrade is ignored (the page is idle since the tab change).
    harness.clearFrames();
    upgrade();
    runUpgrade();
    EXPECT_EQ(lines().back(), "Firmware upgrade Successfully");

    // After another tab change the page is idle again: firmware answers are ignored, the
    // standby announcement is taken only once the page has asked for the device type.
    main->selectPage(kPageGeneral);
    advance(500);
    EXPECT_TRUE(page->idle());
    EXPECT_FALSE(state().UpgradeRunning);
}

TEST_F(FirmwareTest, TheLogsHoldLineBreaksBlockNoticesAndReplies) {
    overCom();
    load(content(300));
    upgrade();
    runUpgrade();
    const std::string log = page->text(fw::kSendLog);
    EXPECT_EQ(log.find("A5 5B"), std::string::npos);
    EXPECT_NE(log.find("\r\nSend data:\r\n"), std::string::npos);
    // The receive log has every reply on a line of its own, the reboot report last.
    const std::string received = page->text(fw::kReceiveLog);
    const std::string report = "A5 5B 01 01 01 00 00 00 00 00 00 00 FD \r\n";
    ASSERT_GE(received.size(), report.size());
    EXPECT_EQ(received.substr(received.size() - report.size()), report);
}
