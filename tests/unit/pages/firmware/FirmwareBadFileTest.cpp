// Files at the edges of what the loader meets, one table: a file too short to hold a marker is
// loaded but never sent; files shorter or just longer than a block go out as one padded block
// taken from inside the file, and end aloud; a path that loops is refused like a missing one.
#include "FirmwareFixture.h"

using namespace zentrel;
using namespace zentrel::testing;

TEST_F(FirmwareTest, TinyAndOddFilesLoadAndSendOnlyWhatTheyHold) {
    overCom();
    struct Case {
        std::size_t size;
        bool sent;
    };
    for (const Case c : {Case{0, false}, Case{1, false}, Case{127, true}, Case{129, true}}) {
        SCOPED_TRACE(c.size);
        harness.clearFrames();
        popups.notices.clear();
        const Bytes plain = content(c.size);
        load(plain, "tiny" + std::to_string(c.size) + ".fw");
        ASSERT_EQ(page->image().length(), c.size);
        upgrade();
        runUpgrade();
        EXPECT_FALSE(state().UpgradeRunning);
        EXPECT_TRUE(page->isEnabled(fw::kUpgrade));
        if (!c.sent) {
            EXPECT_EQ(popups.noticeTexts(), Names{"Upgrade failed!"});
            EXPECT_TRUE(sent().empty());
            continue;
        }
        // N1 = 0: the one block, from offset 2 and padded past the file, goes out with the
        // first block's ordinary header, so the matrix never hears of a last block and never
        // completes the part. The page repeats the block once and then gives up aloud.
        const Names s = sent();
        EXPECT_EQ(std::count(s.begin(), s.end(), blockHex(plain, 2)), 2) << harness.transcript();
        EXPECT_EQ(lines().back(), "Upgrading Part_1.1.0.0 failed");
        EXPECT_EQ(popups.noticeTexts(), Names{"Upgrade failed!"});
    }
    const std::filesystem::path loop = dir / "loop.fw";
    std::filesystem::create_symlink(loop, loop);
    popups.notices.clear();
    open(loop.string());
    EXPECT_EQ(popups.noticeTexts(), Names{"Cannot read the firmware file!"});
    EXPECT_EQ(page->image().length(), 129u);
}

TEST_F(FirmwareTest, APartMarkerAfterPart3EndsTheUpgradeInsteadOfSendingPartsAgain) {
    overCom();
    // Part_2, Part 3 at 500, then another Part_2 marker at 900: counted from the first
    // markers, it would send Part_2 and Part 3 again after every reboot.
    Bytes plain = content(1200, 0xA4, 0x5B);
    plain[500] = 0xA3;
    plain[501] = 0x5C;
    plain[900] = 0xA4;
    plain[901] = 0x5B;
    load(plain);
    upgrade();
    runUpgrade();
    EXPECT_FALSE(state().UpgradeRunning);
    const Names f = sentFrames();
    EXPECT_EQ(std::count(f.begin(), f.end(), frame("20 02 01 00 00 00 00 40")), 1);
    EXPECT_EQ(std::count(f.begin(), f.end(), frame("20 02 03 00 00 00 00 40")), 1);
    EXPECT_EQ(popups.noticeTexts(), Names{"Upgrade failed!"});
    EXPECT_TRUE(page->isEnabled(fw::kUpgrade));
}

TEST_F(FirmwareTest, AnImageOfPart4AloneEndsAloudInsteadOfRunningForEver) {
    overCom();
    load(content(1200, 0xA2, 0x5D));
    upgrade();
    runUpgrade();
    const Names f = sentFrames();
    EXPECT_EQ(std::count(f.begin(), f.end(), frame("20 04 01 00 00 00 00 40 00 00")), 2)
        << harness.transcript();
    EXPECT_FALSE(state().UpgradeRunning);
    EXPECT_TRUE(page->isEnabled(fw::kUpgrade));
    EXPECT_EQ(popups.noticeTexts(), Names{"Time out!"});
}
