// Whole upgrades against the simulated matrix: the frames and blocks on the wire, in order and
// with their times, the Messages lines, and what the matrix assembled.
#include "FirmwareFixture.h"

using namespace zentrel;
using namespace zentrel::testing;

namespace {

const std::string kPoll = frame("01 01 00 00 00 00 00 40");

} // namespace

TEST_F(FirmwareTest, Part1Of1026BytesFromStartToSuccess) {
    overCom();
    const Bytes plain = content(1026);
    load(plain);
    const std::int64_t t0 = now();
    upgrade();
    EXPECT_TRUE(state().UpgradeRunning);
    EXPECT_FALSE(page->isEnabled(fw::kUpgrade));
    EXPECT_FALSE(page->isEnabled(fw::kOpen));
    // Tab captions do nothing while the transfer runs.
    const Rect caption = main->control(ctl::kGeneralCaption).rect;
    main->onLButtonDown(Point{caption.left + 1, caption.top + 1});
    EXPECT_EQ(state().ActivePage, kPageFirmware);
    runUpgrade();

    // N1 = (1026 - 2) / 256 = 4: blocks 0..3 with ordinary headers, block 4 (all past the
    // file, so all zeros) with the last-block header.
    Names expected =
        frames("20 01 01 00 00 00 00 40|20 01 80 00 00 00 00 40|20 01 10 00 00 00 00 40|"
               "20 01 AA 00 00 01 01 40 00");
    expected.push_back(blockHex(plain, 2));
    for (int k = 1; k <= 3; ++k) {
        expected.push_back(frame("20 01 AA 00 00 01 01 40 0" + std::to_string(k)));
        expected.push_back(blockHex(plain, 2 + 256 * static_cast<std::size_t>(k)));
    }
    expected.push_back(frame("20 01 56 00 FE 00 01 40 04"));
    expected.push_back(blockHex(plain, 2 + 256 * 4));
    // Polls at the completion and every 3 s; the matrix answers once it has rebooted (5 s).
    expected.insert(expected.end(), {kPoll, kPoll, kPoll});
    EXPECT_EQ(sent(), expected) << harness.transcript();
    EXPECT_EQ(lines(), (Names{"Upgrading Part_1.1.0.0...", "System rebooting,Please wait...",
                              "System reboot ok", "Part_1.1.0.0 upgrading complete",
                              "Firmware upgrade Successfully"}));
    EXPECT_FALSE(state().UpgradeRunning);
    EXPECT_TRUE(page->isEnabled(fw::kUpgrade));
    EXPECT_TRUE(page->isEnabled(fw::kOpen));
    EXPECT_EQ(page->control(fw::kProgress).position, 0);
    EXPECT_EQ(page->control(fw::kProgress).rangeMax, 1024);
    EXPECT_EQ(popups.noticeTexts(), Names{});
    EXPECT_EQ(matrix().firmware().image(1), imagePart(plain, 2, 5));

    // The gaps: preparation 1 200 ms after ready, a part's first block 200 ms after its header,
    // later blocks 100 ms after theirs; polls 3 s apart. Times are when a unit was whole at the
    // matrix: a reply and a frame take 4 ms with the matrix's 5 ms, a block 23 ms longer on the
    // wire (115200 baud, 11 bits a byte) than its header.
    const Names timed = timedToMatrix();
    auto at = [&](std::size_t i) { return std::stoll(timed[i]) - t0; };
    EXPECT_EQ(at(1) - at(0), 4 + 200 + 5);
    EXPECT_EQ(at(4) - at(3), 200 + 23);
    EXPECT_EQ(at(6) - at(5), 100 + 23);
    EXPECT_EQ(at(14) - at(13), 3000);
    EXPECT_EQ(at(15) - at(14), 3000);
}

TEST_F(FirmwareTest, ProgressMovesWithEveryCopiedByte) {
    overCom();
    load(content(1026));
    std::vector<int> positions;
    struct Watch : WindowObserver {
        FirmwarePage* page;
        std::vector<int>* out;
        void windowCreated(Window&) override {}
        void windowChanged(Window&) override {}
        void windowDestroyed(Window&) override {}
        void controlChanged(Window& w, int id) override {
            if (&w == page && id == fw::kProgress) {
                out->push_back(page->control(id).position);
            }
        }
        void modalStarted(Window&) override {}
        void modalEnded(Window&) override {}
    } watch;
    watch.page = page;
    watch.out = &positions;
    harness.loop().setObserver(&watch);
    upgrade();
    runUpgrade();
    harness.loop().setObserver(&popups);
    // The range, then one position per data byte of the five blocks, then back to 0. The last
    // block reaches past the part's 1024 bytes: the bar holds at its end (a bar ignores a
    // position past it), so the finished part shows a full bar through the reboot wait.
    ASSERT_EQ(positions.size(), 1 + 5 * 256 + 1u);
    for (int i = 0; i < 5 * 256; ++i) {
        ASSERT_EQ(positions[static_cast<std::size_t>(i) + 1], std::min(i + 1, 1024)) << i;
    }
    EXPECT_EQ(positions.back(), 0);
}

TEST_F(FirmwareTest, Part2ThenPart3AtTheSecondMarker) {
    overCom();
    Bytes plain = content(7000, 0xA4, 0x5B);
    plain[5000] = 0xA3;
    plain[5001] = 0x5C;
    load(plain);
    upgrade();
    runUpgrade();

    // Part_2 covers 2..4999: N2 = 4998 / 256 = 19, so blocks 0..19, the last reaching into
    // Part 3's marker. Part 3 (through Part_2's command 20 02 03) covers 5002..6999: N3 = 7.
    const Names f = sentFrames();
    EXPECT_EQ(f.front(), frame("20 02 01 00 00 00 00 40"));
    EXPECT_EQ(f[1], frame("20 02 AA 00 00 01 01 40 00"));
    EXPECT_NE(std::find(f.begin(), f.end(), frame("20 02 56 00 FE 00 01 40 13")), f.end());
    const auto part3 = std::find(f.begin(), f.end(), frame("20 02 03 00 00 00 00 40"));
    ASSERT_NE(part3, f.end());
    EXPECT_EQ(*std::prev(part3), kPoll); // started on the reboot report
    EXPECT_EQ(*std::next(part3), frame("20 03 AA 00 00 01 01 40 00"));
    EXPECT_NE(std::find(f.begin(), f.end(), frame("20 03 56 00 FE 00 01 40 07")), f.end());

    EXPECT_EQ(matrix().firmware().image(2), imagePart(plain, 2, 20));
    EXPECT_EQ(matrix().firmware().image(3), imagePart(plain, 5002, 8));
    EXPECT_EQ(lines(), (Names{"Upgrading Part_2.1.0.0...", "Part_2.1.0.0 upgrading complete",
                              "System rebooting,Please wait...", "System reboot ok",
                              "System rebooting,Please wait...", "System reboot ok",
                              "Firmware upgrade Successfully"}));
    EXPECT_EQ(popups.noticeTexts(), Names{});
    EXPECT_FALSE(state().UpgradeRunning);
}

TEST_F(FirmwareTest, BankMarkB0MovesPart1ToBlock256) {
    overCom();
    // 300 blocks: the header of id F0 carries B0 01; the matrix answers with B0 and the page
    // goes on with block 256 as id 0, skipping blocks 241..255 and their 3840 bytes of progress.
    const Bytes plain = content(2 + 256 * 299 + 10);
    load(plain);
    upgrade();
    runUpgrade();
    const Names s = sent();
    const auto bank = std::find(s.begin(), s.end(), frame("20 01 AA 00 00 01 01 B0 01"));
    ASSERT_NE(bank, s.end());
    EXPECT_EQ(*std::next(bank), blockHex(plain, 2 + 256 * 240));
    EXPECT_EQ(*std::next(bank, 2), frame("20 01 AA 00 00 01 01 40 00"));
    EXPECT_EQ(*std::next(bank, 3), blockHex(plain, 2 + 256 * 256));
    // N1 = 299: the last block is 299, sent as id 299 - 256 = 43.
    EXPECT_NE(std::find(s.begin(), s.end(), frame("20 01 56 00 FE 00 01 40 2B")), s.end());
    EXPECT_EQ(matrix().firmware().blocksOf(1), 241 + 44);
    EXPECT_EQ(lines().back(), "Firmware upgrade Successfully");
    // The hidden logs keep a bounded tail however long the transfer.
    for (int log : {fw::kSendLog, fw::kReceiveLog}) {
        EXPECT_LE(page->text(log).size(), fw::kLogLimit) << log;
        EXPECT_GE(page->text(log).size(), fw::kLogKeep) << log;
    }
}

TEST(FirmwareExtraAck, AnExtraAcknowledgementOfTheLastBlockNeverLeavesTheUpgradeHanging) {
    // Over COM both replies are read: the acknowledgement is passed over, the completion acts.
    // Over TCP the acknowledgement alone is read, and passed over.
    for (const bool tcp : {false, true}) {
        FirmwareFixture t;
        t.onFault({sim::FaultRule::Kind::ExtraAck, sim::FrameMatch::of(0x20, 0x01)});
        tcp ? t.overTcp() : t.overCom();
        t.load(content(700));
        t.upgrade();
        t.runUpgrade();
        EXPECT_EQ(t.lines().back(), "Firmware upgrade Successfully") << tcp;
    }
}

TEST_F(FirmwareTest, APart1OfOneBlockEndsInsteadOfWaitingForACompletionForEver) {
    // N1 = 0: the only block goes out with an ordinary header, so the matrix acknowledges it
    // and never completes. The page repeats it once, then gives up instead of holding the tabs.
    overCom();
    load(content(200));
    upgrade();
    runUpgrade(60'000);
    EXPECT_FALSE(state().UpgradeRunning);
    const Names s = sent();
    EXPECT_EQ(std::count(s.begin(), s.end(), frame("20 01 AA 00 00 01 01 40 00")), 2);
    EXPECT_EQ(lines().back(), "Upgrading Part_1.1.0.0 failed");
    EXPECT_TRUE(page->isEnabled(fw::kUpgrade));
}

TEST_F(FirmwareTest, TheLargestPart1ImageGoesOnPastItsSecondBlockF0) {
    // 200,000 bytes: N1 = 781. After block 256 the ids count up to F0 again (block 496), whose
    // header carries B0 01 once more; the matrix answers it as an ordinary block and the page
    // goes on to block 497, so no block is sent twice and the image arrives whole.
    overTcp();
    const Bytes plain = content(FirmwareImage::kCapacity);
    load(plain);
    upgrade();
    runUpgrade();
    EXPECT_EQ(lines().back(), "Firmware upgrade Successfully");
    EXPECT_EQ(popups.noticeTexts(), Names{});
    Bytes expected = imagePart(plain, 2, 782);
    std::fill(expected.begin() + 241 * 256, expected.begin() + 256 * 256, 0); // skipped
    EXPECT_TRUE(matrix().firmware().image(1) == expected);
    EXPECT_EQ(matrix().firmware().blocksOf(1), 241 + 526);
}
