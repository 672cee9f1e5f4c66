// How an upgrade ends when the matrix does not play along: every wait's repeat and give-up,
// the write failures, and acknowledgements that would make the transfer go round.
#include "FirmwareFixture.h"
#include "protocol/Commands.h"

using namespace zentrel;
using namespace zentrel::testing;
using Kind = sim::FaultRule::Kind;

namespace {

const std::string kPoll = frame("01 01 00 00 00 00 00 40");

struct Silence {
    const char* what;
    sim::FrameMatch match;
    Bytes plain;
    std::string repeated;  // the frame that goes out twice
    std::int64_t giveUpMs; // from the first send of `repeated` to the notice (a block's waits
                           // start when the block follows its header)
    const char* line;      // the Messages line the upgrade ends with
};

} // namespace

TEST(FirmwareFailures, EachWaitRepeatsOnceThenEndsWithItsLine) {
    const Bytes part1 = content(1026);
    const Bytes part2 = content(1026, 0xA4, 0x5B);
    const std::vector<Silence> cases{
        {"Part_1 start", sim::FrameMatch::of(0x20, 0x01).with(4, 0x01), part1,
         frame("20 01 01 00 00 00 00 40"), 6000, "Write to Part_1.1.0.0 failed"},
        {"preparation 1", sim::FrameMatch::of(0x20, 0x01).with(4, 0x80), part1,
         frame("20 01 80 00 00 00 00 40"), 6000, "Write to Part_1.1.0.0 failed"},
        {"preparation 2", sim::FrameMatch::of(0x20, 0x01).with(4, 0x10), part1,
         frame("20 01 10 00 00 00 00 40"), 8000, "Write to Part_1.1.0.0 failed"},
        {"Part_2 start", sim::FrameMatch::of(0x20, 0x02).with(4, 0x01), part2,
         frame("20 02 01 00 00 00 00 40"), 6000, "Upgrading Part_2.1.0.0 failed"},
        {"first Part_1 block", sim::FrameMatch::of(0x20, 0x01).with(4, 0xAA).with(10, 0), part1,
         frame("20 01 AA 00 00 01 01 40 00"), 200 + 14000, "Upgrading Part_1.1.0.0 failed"},
        {"later Part_1 block", sim::FrameMatch::of(0x20, 0x01).with(4, 0xAA).with(10, 2), part1,
         frame("20 01 AA 00 00 01 01 40 02"), 100 + 15000, "Upgrading Part_1.1.0.0 failed"},
        {"last Part_2 block", sim::FrameMatch::of(0x20, 0x02).with(4, 0x56), part2,
         frame("20 02 56 00 FE 00 01 40 04"), 100 + 15000, "Upgrading Part_2.1.0.0 failed"},
    };
    for (const Silence& c : cases) {
        SCOPED_TRACE(c.what);
        FirmwareFixture t;
        t.onFault({Kind::Silent, c.match});
        t.overCom();
        t.load(c.plain);
        t.upgrade();
        t.runUpgrade();
        const Names s = t.sent();
        ASSERT_EQ(std::count(s.begin(), s.end(), c.repeated), 2) << t.harness.transcript();
        // A block is repeated with its header, and nothing follows the second try.
        const auto second =
            std::find(std::find(s.begin(), s.end(), c.repeated) + 1, s.end(), c.repeated);
        EXPECT_EQ(s.end() - second, c.repeated.find("AA 00 00 01") != std::string::npos ||
                                            c.repeated.find("56 00 FE") != std::string::npos
                                        ? 2
                                        : 1);
        ASSERT_EQ(t.popups.notices.size(), 1u);
        EXPECT_EQ(t.popups.notices[0].text, "Time out!");
        EXPECT_EQ(t.popups.notices[0].durationMs(), 1500);
        std::int64_t firstSend = 0;
        for (const sim::FrameRecord& r : t.harness.frames().all()) {
            if (r.hex == c.repeated) {
                firstSend = r.atMs;
                break;
            }
        }
        EXPECT_NEAR(static_cast<double>(t.popups.notices[0].openedMs - firstSend),
                    static_cast<double>(c.giveUpMs), 5.0); // the wire's few ms
        EXPECT_EQ(t.lines().back(), c.line);
        EXPECT_FALSE(t.state().UpgradeRunning);
        EXPECT_TRUE(t.page->isEnabled(fw::kUpgrade));
    }

    // Answers that come only after the give-up move nothing on: Part_1's ready, and a block's
    // acknowledgement (its header is still the awaited one when the upgrade ends).
    const std::pair<sim::FrameMatch, int> slowAnswers[] = {
        {sim::FrameMatch::of(0x20, 0x01).with(4, 0x01), 7000},
        {sim::FrameMatch::of(0x20, 0x01).with(4, 0xAA).with(10, 2), 16000}};
    for (const auto& [match, delayMs] : slowAnswers) {
        FirmwareFixture late;
        sim::FaultRule slow{Kind::Delay, match};
        slow.delayMs = delayMs;
        late.onFault(slow);
        late.overCom();
        late.load(part1);
        late.upgrade();
        late.runUpgrade();
        const std::size_t sentAtGiveUp = late.sent().size();
        late.advance(20000);
        EXPECT_EQ(late.sent().size(), sentAtGiveUp) << late.harness.transcript();
        EXPECT_FALSE(late.state().UpgradeRunning);
    }
}

TEST_F(FirmwareTest, SilenceAfterTheCompletionMeansEightPollsThenTimeOut) {
    onFault({Kind::StayDown, sim::FrameMatch::of(0x20, 0x01)});
    overCom();
    load(content(1026));
    upgrade();
    runUpgrade();
    std::vector<std::int64_t> polls;
    for (const sim::FrameRecord& r : harness.frames().all()) {
        if (r.hex == kPoll) {
            polls.push_back(r.atMs);
        }
    }
    ASSERT_EQ(polls.size(), 8u);
    for (std::size_t i = 1; i < polls.size(); ++i) {
        EXPECT_EQ(polls[i] - polls[i - 1], 3000);
    }
    ASSERT_EQ(popups.notices.size(), 1u);
    EXPECT_EQ(popups.notices[0].text, "Time out!");
    // The first poll goes out with the completion reply; the give-up comes 24 s after it
    // (polls are timed at the matrix, a frame's 2 ms of wire after they left).
    EXPECT_EQ(popups.notices[0].openedMs - polls[0], 24000 - 2);
    EXPECT_EQ(lines(), (Names{"Upgrading Part_1.1.0.0...", "System rebooting,Please wait...",
                              "Write to Part_1.1.0.0 failed"}));
}

TEST_F(FirmwareTest, Part2AcknowledgementsThatEchoTheBankMarkEndTheUpgrade) {
    overCom();
    // 300 blocks of Part_2. The header of id F0 carries B0 01; the matrix echoes it, and by
    // the Part_2 rule the next block would be block 2 again, for ever.
    load(content(2 + 256 * 299 + 10, 0xA4, 0x5B));
    upgrade();
    runUpgrade(120'000);
    EXPECT_FALSE(state().UpgradeRunning);
    const Names s = sent();
    EXPECT_EQ(s[s.size() - 2], frame("20 02 AA 00 00 01 01 B0 01"));
    EXPECT_EQ(std::count(s.begin(), s.end(), frame("20 02 AA 00 00 01 01 40 02")), 1);
    EXPECT_EQ(lines().back(), "Upgrading Part_2.1.0.0 failed");
    EXPECT_EQ(popups.noticeTexts(), Names{"Upgrade failed!"});
    const std::size_t before = sent().size();
    advance(30'000);
    EXPECT_EQ(sent().size(), before);
}

TEST(FirmwareIntegrity, SuccessOnlyWhenTheMatrixTookEveryBlockOfEveryPart) {
    // A matrix that resets mid-part, doubles, loses, delays or misnames acknowledgements. The
    // page may end either way, but a success must mean every part arrived whole and in order,
    // and any other end leaves the page usable.
    Bytes part1 = content(2 + 256 * 93); // 94 blocks
    Bytes part23 = content(7000, 0xA4, 0x5B);
    part23[5000] = 0xA3;
    part23[5001] = 0x5C;
    auto header = [](std::uint8_t part) { return sim::FrameMatch::of(0x20, part).with(4, 0xAA); };
    auto rule = [](Kind kind, sim::FrameMatch m, int times = -1, int atBlock = 30) {
        sim::FaultRule r{kind, std::move(m), times};
        r.atBlock = atBlock;
        r.delayMs = 8000;
        r.ackId = 0;
        return r;
    };
    struct Case {
        const char* what;
        const Bytes* plain;
        std::vector<sim::FaultRule> faults;
        bool succeeds;
    };
    const std::vector<Case> cases{
        {"reset in Part_1",
         &part1,
         {rule(Kind::ResetAtBlock, sim::FrameMatch::of(0x20, 1))},
         false},
        {"reset in Part_2",
         &part23,
         {rule(Kind::ResetAtBlock, sim::FrameMatch::of(0x20, 2), -1, 5)},
         false},
        {"reset in Part 3",
         &part23,
         {rule(Kind::ResetAtBlock, sim::FrameMatch::of(0x20, 3), -1, 2)},
         false},
        {"every Part_1 acknowledgement doubled", &part1, {rule(Kind::Duplicate, header(1))}, true},
        {"every Part_2 and Part 3 acknowledgement doubled",
         &part23,
         {rule(Kind::Duplicate, header(2)), rule(Kind::Duplicate, header(3))},
         true},
        {"one acknowledgement lost", &part1, {rule(Kind::Silent, header(1).with(10, 3), 1)}, true},
        {"one acknowledgement late", &part1, {rule(Kind::Delay, header(1).with(10, 2), 1)}, true},
        {"an acknowledgement naming another block",
         &part23,
         {rule(Kind::AckId, sim::FrameMatch::of(0x20, 2).with(10, 3), 1)},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FirmwareFixture t;
        for (const sim::FaultRule& r : c.faults) {
            t.onFault(r);
        }
        t.overCom();
        t.load(*c.plain);
        t.upgrade();
        t.runUpgrade();
        const Names lines = t.lines();
        const bool success =
            std::find(lines.begin(), lines.end(), "Firmware upgrade Successfully") != lines.end();
        EXPECT_EQ(success, c.succeeds) << t.harness.transcript();
        EXPECT_FALSE(t.state().UpgradeRunning);
        EXPECT_TRUE(t.page->isEnabled(fw::kUpgrade));
        const sim::FirmwareSession& fw = t.matrix().firmware();
        if (success) {
            EXPECT_EQ(t.popups.noticeTexts(), Names{});
            const Bytes& p = *c.plain;
            if (c.plain == &part1) {
                EXPECT_EQ(fw.partsCompleted(), 1);
                EXPECT_TRUE(fw.image(1) == imagePart(p, 2, 94));
            } else {
                EXPECT_EQ(fw.partsCompleted(), 2);
                EXPECT_TRUE(fw.image(2) == imagePart(p, 2, 20));
                EXPECT_TRUE(fw.image(3) == imagePart(p, 5002, 8));
            }
        } else {
            EXPECT_EQ(t.popups.noticeTexts(), Names{"Upgrade failed!"});
        }
    }
}

TEST_F(FirmwareTest, ACompletionBeforeThePartsLastBlockIsPassedOver) {
    overCom();
    const Bytes plain = content(2 + 256 * 20);
    load(plain);
    upgrade();
    advance(1500); // a few blocks in
    const CommandFrame done = cmd::firmwarePartComplete(1);
    harness.serialPorts().sendToPanel(3, Bytes(done.bytes.begin(), done.bytes.end()));
    runUpgrade();
    EXPECT_EQ(lines().back(), "Firmware upgrade Successfully");
    EXPECT_EQ(matrix().firmware().partsCompleted(), 1);
    EXPECT_TRUE(matrix().firmware().image(1) == imagePart(plain, 2, 21));
}

TEST_F(FirmwareTest, ARefusedPart1BlockEndsTheUpgradeAfterItsNotice) {
    onFault({Kind::Refuse, sim::FrameMatch::of(0x20, 0x01).with(4, 0xAA).with(10, 2), 1});
    overCom();
    load(content(3000));
    upgrade();
    runUpgrade();
    EXPECT_EQ(popups.noticeTexts(true), Names{"Write to Part_1.1.0.0 failed! (1500 ms)"});
    EXPECT_EQ(lines().back(), "Write to Part_1.1.0.0 failed");
    EXPECT_TRUE(page->isEnabled(fw::kUpgrade));
    // The steps after the notice run when it has closed.
    const std::int64_t closed = popups.notices[0].closedMs;
    EXPECT_LE(closed, now());
    // The refused block is not sent again later: the upgrade has ended.
    const std::size_t before = sent().size();
    advance(30'000);
    EXPECT_EQ(sent().size(), before);
    EXPECT_EQ(popups.notices.size(), 1u);
}

TEST_F(FirmwareTest, ARefusedPart2BlockShowsAMessageBoxAndLeavesTheWaitRunning) {
    onFault({Kind::Refuse, sim::FrameMatch::of(0x20, 0x02).with(4, 0xAA).with(10, 1), 1});
    overCom();
    load(content(3000, 0xA4, 0x5B));
    upgrade();
    advance(2000);
    EXPECT_EQ(ui.boxes, Names{"Zentrel: Write to Part_2.1.0.0 failed"});
    EXPECT_EQ(lines().back(), "Write to Part_2.1.0.0 failed");
    EXPECT_TRUE(page->isEnabled(fw::kUpgrade));
    EXPECT_TRUE(state().UpgradeRunning);
    // The block's wait repeats it with its header; the matrix takes it and the part goes on.
    runUpgrade();
    EXPECT_EQ(lines().back(), "Firmware upgrade Successfully");
}
