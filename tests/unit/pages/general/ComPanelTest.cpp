// The COM side of the connection panel: the port list as ports come and go, the connect with
// its power query, the readiness check of every command and the return to the page.
#include "GeneralFixture.h"
#include "platform/sim/SerialFarEnd.h"

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::testing;
using F = GeneralFixture;
using Names = std::vector<std::string>;

namespace {

class QuietPort : public SerialFarEnd {
public:
    void receive(std::span<const std::uint8_t>) override {}
};

Names ports(GeneralPage& p) {
    return p.control(gen::kPortCombo).items;
}

} // namespace

TEST(ComPanel, PortListFollowsPortsAsTheyComeAndGoKeepingTheShownOne) {
    QuietPort com1;
    QuietPort com7;
    F f;
    GeneralPage& p = *f.page;
    VirtualSerialPorts& serial = f.harness.serialPorts();
    EXPECT_EQ(ports(p), Names{"COM3"});
    EXPECT_TRUE(p.isChecked(gen::kComRadio));
    EXPECT_FALSE(p.isEnabled(gen::kTcpConnect));
    EXPECT_FALSE(p.isShown(gen::kSendLog));
    for (int n = 1; n <= 19; ++n) { // every number tried once, at one stop bit
        ASSERT_EQ(serial.record(n).opens.size(), 1u) << n;
        EXPECT_EQ(serial.record(n).opens[0].settings.stopBits, 1) << n;
    }

    serial.attach(7, com7);
    f.advance(499);
    EXPECT_EQ(ports(p), Names{"COM3"});
    f.advance(1);
    EXPECT_EQ(ports(p), (Names{"COM3", "COM7"}));
    EXPECT_EQ(p.shownText(gen::kPortCombo), "COM3");

    p.choose(gen::kPortCombo, 1);
    serial.attach(1, com1);
    f.advance(500);
    EXPECT_EQ(ports(p), (Names{"COM1", "COM3", "COM7"}));
    EXPECT_EQ(p.shownText(gen::kPortCombo), "COM7");

    serial.detach(7); // the shown port goes: the list starts again from its first entry
    f.advance(500);
    EXPECT_EQ(ports(p), (Names{"COM1", "COM3"}));
    EXPECT_EQ(p.shownText(gen::kPortCombo), "COM1");

    serial.detach(1);
    f.harness.unplugSerial();
    f.advance(500);
    EXPECT_TRUE(ports(p).empty());
    f.click(gen::kComConnect);
    EXPECT_EQ(f.popups.noticeTexts(), Names{"Open COM failed!"});
    EXPECT_EQ(f.popups.notices[0].durationMs(), 1500);
    EXPECT_EQ(f.state().ComPortOpen, 0);

    serial.attach(7, com7);
    f.advance(500);
    EXPECT_EQ(ports(p), Names{"COM7"});
}

TEST(ComPanel, ConnectUsesTwoStopBitsAsksThePowerStateAndStopsTheRescan) {
    F f;
    GeneralPage& p = *f.page;
    const auto& opens = f.harness.serialPorts().record(3).opens;
    f.click(gen::kComConnect);
    EXPECT_EQ(opens.back().settings.stopBits, 2);
    EXPECT_EQ(p.text(gen::kComConnect), "Disconnect");
    EXPECT_EQ(p.control(gen::kComIcon).icon, gen::kIconConnected);
    EXPECT_FALSE(p.isEnabled(gen::kPortCombo));
    EXPECT_EQ(f.state().SharedPort, 3);
    f.advance(3000);
    EXPECT_EQ(f.sent(), (Names{F::frame({0x08, 0x0C, 0x00}), F::frame({0x01, 0x0B, 0x00})}));
    EXPECT_TRUE(p.isChecked(gen::kPower));
    EXPECT_TRUE(p.isChecked(gen::kBeep));
    const std::size_t opensWhileConnected = opens.size();
    f.advance(3000);
    EXPECT_EQ(opens.size(), opensWhileConnected); // no probing while connected

    f.click(gen::kComConnect);
    EXPECT_EQ(p.text(gen::kComConnect), "Connect");
    EXPECT_EQ(f.state().ComPortOpen, 0);
    EXPECT_TRUE(p.isEnabled(gen::kPortCombo));
    EXPECT_FALSE(f.harness.serialPorts().held(3));
    f.advance(500);
    EXPECT_GT(opens.size(), opensWhileConnected);
}

TEST(ComPanel, CommandsRefuseWithoutALinkAndSendNothing) {
    F f;
    for (int id : {gen::kFactoryReset, gen::kReboot, gen::kBeep, gen::kPower}) {
        f.click(id);
    }
    EXPECT_EQ(f.popups.noticeTexts(), Names(4, "Open COM failed!"));
    EXPECT_EQ(f.popups.notices[3].durationMs(), 1500);
    EXPECT_FALSE(f.page->isChecked(gen::kBeep));
    EXPECT_TRUE(f.sent().empty());

    f.click(gen::kTcpRadio);
    f.click(gen::kReboot);
    EXPECT_EQ(f.popups.notices.back().text, "Connect to Matrix failed!");
}

TEST(ComPanel, ReturnToThePageReopensThePortOrSaysItIsNotOpen) {
    F f;
    f.main->selectPage(kPageGeneral);
    f.advance(150);
    EXPECT_EQ(f.popups.noticeTexts(), Names{"Open COM failed!"});

    f.connectCom();
    f.main->selectPage(kPageMatrix);
    EXPECT_FALSE(f.harness.serialPorts().held(3));
    f.main->selectPage(kPageGeneral);
    f.advance(150);
    EXPECT_TRUE(f.harness.serialPorts().held(3));
    EXPECT_EQ(f.popups.notices.size(), 1u);

    f.click(gen::kStatus); // after a return, Status connects anew before the chain
    ASSERT_EQ(f.sent().size(), 10u) << f.harness.transcript();
    EXPECT_EQ(f.sent()[0], F::frame({0x08, 0x0C, 0x00}));
}
