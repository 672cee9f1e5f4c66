// The COM side of the connection panel: the port list as ports come and go, the connect with
// its power query, the readiness check of every command and the return to the page.
#include "GeneralFixture.h"
#include "platform/sim/SerialFarEnd.h"

using namespace zentrel;
using namespace zentrel::testing;
using ComPanel = GeneralTest;

namespace {

class QuietPort : public SerialFarEnd {
public:
    void receive(std::span<const std::uint8_t>) override {}
};

} // namespace

TEST_F(ComPanel, ConnectUsesTwoStopBitsAsksThePowerStateAndStopsTheRescan) {
    const auto& opens = harness.serialPorts().record(3).opens;
    click(gen::kComConnect);
    EXPECT_EQ(opens.back().settings.stopBits, 2);
    EXPECT_EQ(page->text(gen::kComConnect), "Disconnect");
    EXPECT_EQ(page->control(gen::kComIcon).icon, gen::kIconConnected);
    EXPECT_FALSE(page->isEnabled(gen::kPortCombo));
    EXPECT_EQ(state().SharedPort, 3);
    advance(3000);
    EXPECT_EQ(sent(), frames("08 0C 00 | 01 0B 00 | 01 02 00"));
    EXPECT_TRUE(page->isChecked(gen::kPower));
    EXPECT_TRUE(page->isChecked(gen::kBeep));
    const std::size_t opensWhileConnected = opens.size();
    advance(3000);
    EXPECT_EQ(opens.size(), opensWhileConnected); // no probing while connected

    click(gen::kComConnect);
    EXPECT_EQ(page->text(gen::kComConnect), "Connect");
    EXPECT_EQ(state().ComPortOpen, 0);
    EXPECT_TRUE(page->isEnabled(gen::kPortCombo));
    EXPECT_FALSE(harness.serialPorts().held(3));
    advance(500);
    EXPECT_GT(opens.size(), opensWhileConnected);
}

TEST_F(ComPanel, ReturnToThePageReopensThePortOrSaysItIsNotOpen) {
    main->selectPage(kPageGeneral);
    advance(150);
    EXPECT_EQ(popups.noticeTexts(), Names{"Open COM failed!"});

    connectCom();
    main->selectPage(kPageMatrix);
    EXPECT_FALSE(page->link().isOpen()); // the shown Matrix page holds COM3 now
    main->selectPage(kPageGeneral);
    advance(150);
    EXPECT_TRUE(harness.serialPorts().held(3));
    EXPECT_EQ(popups.notices.size(), 1u);

    click(gen::kStatus); // after a return, Status connects anew before the chain
    ASSERT_EQ(sent().size(), 11u) << harness.transcript();
    EXPECT_EQ(sent()[0], frames("08 0C 00")[0]);
}
