// Files at the edges of what the loader meets, one table: a file too short to hold a marker is
// loaded but never sent; files shorter or just longer than a block go out as one padded block
// taken from inside the file, and end aloud; a path that loops is refused like a missing one.
#include "FirmwareFixture.h"

using namespace zentrel;
using namespace zentrel::testing;

TEST_F(FirmwareTest, APartMarkerAfterPart3EndsTheUpgradeInsteadOfSendingPartsAgain) {
    overCom();
    // Part_2, Part 3 at 500, then another Part_2 or Part 3 marker at 900: counted from the first
    // markers, it would send Part_2 and Part 3 again after every reboot.
    for (const std::uint8_t marker : {0xA4, 0xA3}) {
        SCOPED_TRACE(marker);
        harness.clearFrames();
        const std::size_t noticesBefore = popups.noticeTexts().size();
        Bytes plain = content(1200, 0xA4, 0x5B);
        plain[500] = 0xA3;
        plain[501] = 0x5C;
        plain[900] = marker;
        plain[901] = marker == 0xA4 ? 0x5B : 0x5C;
        load(plain);
        upgrade();
        runUpgrade();
        EXPECT_FALSE(state().UpgradeRunning);
        const Names f = sentFrames();
        EXPECT_EQ(std::count(f.begin(), f.end(), frame("20 02 01 00 00 00 00 40")), 1);
        EXPECT_EQ(std::count(f.begin(), f.end(), frame("20 02 03 00 00 00 00 40")), 1);
        const Names notices = popups.noticeTexts();
        EXPECT_EQ(
            Names(notices.begin() + static_cast<std::ptrdiff_t>(noticesBefore), notices.end()),
            Names{"Upgrade failed!"});
        EXPECT_TRUE(page->isEnabled(fw::kUpgrade));
    }
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
