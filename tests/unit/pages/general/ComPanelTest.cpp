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

TEST_F(ComPanel, PortListFollowsPortsAsTheyComeAndGoKeepingTheShownOne) {
    QuietPort com1;
    QuietPort com7;
    VirtualSerialPorts& serial = harness.serialPorts();
    // After each rescan: the listed ports and the one shown.
    const auto expectPorts = [&](const Names& listed, const std::string& shown) {
        EXPECT_EQ(page->control(gen::kPortCombo).items, listed);
        EXPECT_EQ(page->shownText(gen::kPortCombo), shown);
    };
    expectPorts({"COM3"}, "COM3");
    EXPECT_TRUE(page->isChecked(gen::kComRadio));
    EXPECT_FALSE(page->isEnabled(gen::kTcpConnect));
    EXPECT_FALSE(page->isShown(gen::kSendLog));
    for (int n = 1; n <= 19; ++n) { // every number tried once, at one stop bit
        ASSERT_EQ(serial.record(n).opens.size(), 1u) << n;
        EXPECT_EQ(serial.record(n).opens[0].settings.stopBits, 1) << n;
    }

    serial.attach(7, com7);
    advance(499);
    expectPorts({"COM3"}, "COM3");
    advance(1);
    expectPorts({"COM3", "COM7"}, "COM3");

    page->choose(gen::kPortCombo, 1);
    serial.attach(1, com1);
    advance(500);
    expectPorts({"COM1", "COM3", "COM7"}, "COM7");

    serial.detach(7); // the shown port goes: the list starts again from its first entry
    advance(500);
    expectPorts({"COM1", "COM3"}, "COM1");

    serial.detach(1);
    harness.unplugSerial();
    advance(500);
    EXPECT_TRUE(page->control(gen::kPortCombo).items.empty());
    click(gen::kComConnect);
    EXPECT_EQ(popups.noticeTexts(true), Names{"Open COM failed! (1500 ms)"});
    EXPECT_EQ(state().ComPortOpen, 0);

    serial.attach(7, com7);
    advance(500);
    EXPECT_EQ(page->control(gen::kPortCombo).items, Names{"COM7"});
}

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

TEST_F(ComPanel, CommandsRefuseWithoutALinkAndSendNothing) {
    for (int id : {gen::kFactoryReset, gen::kReboot, gen::kBeep, gen::kPower}) {
        click(id);
    }
    EXPECT_EQ(popups.noticeTexts(true), Names(4, "Open COM failed! (1500 ms)"));
    EXPECT_FALSE(page->isChecked(gen::kBeep));
    EXPECT_TRUE(sent().empty());

    click(gen::kTcpRadio);
    click(gen::kReboot);
    EXPECT_EQ(popups.notices.back().text, "Connect to Matrix failed!");
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
