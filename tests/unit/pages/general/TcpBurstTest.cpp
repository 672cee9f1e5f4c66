// A matrix that sends 1 MiB at once in the middle of Status: the page reads it in 1024-byte
// pieces, keeps no more than one reply's worth of it, and the chain still runs to its end with
// every query sent once. (A peer that never reads is the socket's concern: ControlSocketQtTest.)
#include "GeneralFixture.h"

#include <functional>
#include <set>

using namespace zentrel;
using namespace zentrel::testing;

TEST_F(GeneralTest, OneMebibyteAtOnceDuringStatusIsReadInPiecesAndDropped) {
    GeneralFixture& f = *this;
    f.connectTcp();
    f.harness.clearFrames();
    const std::vector<std::uint8_t> burst(1 << 20, 0x33);
    bool sentBurst = false;
    std::function<void()> watch = [&] {
        if (!sentBurst && f.sent().size() == 1) {
            sentBurst = true;
            f.harness.sendTcpBytes(burst);
        }
        if (!sentBurst) {
            f.harness.loop().schedule(1, watch);
        }
    };
    f.harness.loop().schedule(1, watch);
    f.click(gen::kStatus);
    f.advance(20000);

    ASSERT_TRUE(sentBurst);
    const Names s = f.sent();
    EXPECT_EQ(s.size(), 8u) << f.harness.transcript().substr(0, 2000);
    EXPECT_EQ(std::set<std::string>(s.begin(), s.end()).size(), 8u); // nothing repeated
    EXPECT_NE(f.page->text(gen::outputLine(4)).find(": Connect"), std::string::npos);
    EXPECT_EQ(f.page->status().busy(), 0);
    EXPECT_FALSE(f.main->progress().isVisible());
    EXPECT_TRUE(f.main->isEnabled(ctl::kMatrixTab));
}
