// The COM side of the connection panel: the port list kept current as ports come and go, the
// connect with its power query, the mode radios, the readiness check every command uses, a
// pulled cable, and the return to the page.
#include "GeneralFixture.h"
#include "platform/sim/SerialFarEnd.h"

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::testing;
using F = GeneralFixture;

namespace {

class QuietPort : public SerialFarEnd {
public:
    void receive(std::span<const std::uint8_t>) override {}
};

std::vector<std::string> ports(GeneralPage& p) {
    return p.control(gen::kPortCombo).items;
}

const std::vector<int> kTcpControls{gen::kTcpGroup, gen::kIpCombo,    gen::kSearch,
                                    gen::kConfig,   gen::kTcpConnect, gen::kIpLabel};
const std::vector<int> kComControls{gen::kComGroup, gen::kPortLabel, gen::kPortCombo,
                                    gen::kComConnect};

} // namespace

TEST(ComPanel, OpensInComModeWithThePortsThatOpenAndHiddenLogs) {
    F f;
    GeneralPage& p = *f.page;
    EXPECT_EQ(ports(p), (std::vector<std::string>{"COM3"}));
    EXPECT_EQ(p.shownText(gen::kPortCombo), "COM3");
    EXPECT_TRUE(p.isChecked(gen::kComRadio));
    EXPECT_FALSE(p.isChecked(gen::kTcpRadio));
    EXPECT_EQ(f.state().ControlMode, kModeCom);
    for (int id : kTcpControls) {
        EXPECT_FALSE(p.isEnabled(id)) << id;
    }
    for (int id : {gen::kReceiveFrame, gen::kSendFrame, gen::kReceiveLog, gen::kSendLog,
                   gen::kLogClear, gen::kIrControl, gen::kStatusRadio, gen::kClosePage}) {
        EXPECT_FALSE(p.isShown(id)) << id;
    }
    EXPECT_EQ(p.text(gen::kComConnect), "Connect");
    EXPECT_EQ(p.control(gen::kComIcon).icon, gen::kIconDisconnected);
    EXPECT_EQ(p.text(gen::kDeviceLine), "Not Known");
    // Every number was tried once, at one stop bit.
    for (int n = 1; n <= 19; ++n) {
        const auto& opens = f.harness.serialPorts().record(n).opens;
        ASSERT_EQ(opens.size(), 1u) << n;
        EXPECT_EQ(opens[0].settings, (SerialSettings{115200, 'N', 8, 1, 3, 512})) << n;
    }
    EXPECT_TRUE(p.timerRunning(gen::kPortRescan));
}

TEST(ComPanel, RescanFollowsPortsAsTheyComeAndGoKeepingTheShownOne) {
    QuietPort com1;
    QuietPort com7;
    F f;
    GeneralPage& p = *f.page;
    VirtualSerialPorts& serial = f.harness.serialPorts();

    serial.attach(7, com7);
    f.advance(499);
    EXPECT_EQ(ports(p), (std::vector<std::string>{"COM3"}));
    f.advance(1);
    EXPECT_EQ(ports(p), (std::vector<std::string>{"COM3", "COM7"}));
    EXPECT_EQ(p.shownText(gen::kPortCombo), "COM3");

    p.choose(gen::kPortCombo, 1);
    serial.attach(1, com1);
    f.advance(500);
    EXPECT_EQ(ports(p), (std::vector<std::string>{"COM1", "COM3", "COM7"}));
    EXPECT_EQ(p.shownText(gen::kPortCombo), "COM7");

    // The shown port goes: the list starts again from its first entry.
    serial.detach(7);
    f.advance(500);
    EXPECT_EQ(ports(p), (std::vector<std::string>{"COM1", "COM3"}));
    EXPECT_EQ(p.shownText(gen::kPortCombo), "COM1");

    // No port at all: the list empties, the re-scan goes on, and Connect refuses.
    serial.detach(1);
    f.harness.unplugSerial();
    f.advance(500);
    EXPECT_TRUE(ports(p).empty());
    EXPECT_TRUE(p.timerRunning(gen::kPortRescan));
    f.click(gen::kComConnect);
    EXPECT_EQ(f.popups.noticeTexts(), (std::vector<std::string>{"Open COM failed!"}));
    EXPECT_EQ(f.popups.notices[0].durationMs(), 1500);
    EXPECT_EQ(p.text(gen::kComConnect), "Connect");
    EXPECT_EQ(f.state().ComPortOpen, 0);

    serial.attach(7, com7);
    f.advance(500);
    EXPECT_EQ(ports(p), (std::vector<std::string>{"COM7"}));
    EXPECT_EQ(p.shownText(gen::kPortCombo), "COM7");
}

TEST(ComPanel, ConnectUsesTwoStopBitsAsksThePowerStateAndStopsTheRescan) {
    F f;
    GeneralPage& p = *f.page;
    f.click(gen::kComConnect);
    const auto& opens = f.harness.serialPorts().record(3).opens;
    EXPECT_EQ(opens.back().settings.stopBits, 2);
    EXPECT_TRUE(opens.back().granted);
    EXPECT_EQ(p.text(gen::kComConnect), "Disconnect");
    EXPECT_EQ(p.control(gen::kComIcon).icon, gen::kIconConnected);
    EXPECT_FALSE(p.isEnabled(gen::kPortCombo));
    EXPECT_EQ(f.state().ComPortOpen, 1);
    EXPECT_EQ(f.state().SharedPort, 3);
    EXPECT_FALSE(p.timerRunning(gen::kPortRescan));

    // The power state comes back, and with the unit on the beeper's state is asked for.
    f.advance(100);
    EXPECT_EQ(f.sent(), (std::vector<std::string>{F::frame({0x08, 0x0C, 0x00}),
                                                  F::frame({0x01, 0x0B, 0x00})}));
    EXPECT_TRUE(p.isChecked(gen::kPower));
    EXPECT_TRUE(p.isChecked(gen::kBeep));
    const std::size_t opensWhileConnected = opens.size();
    f.advance(3000);
    EXPECT_EQ(opens.size(), opensWhileConnected); // no probing while connected

    f.click(gen::kComConnect);
    EXPECT_EQ(p.text(gen::kComConnect), "Connect");
    EXPECT_EQ(p.control(gen::kComIcon).icon, gen::kIconDisconnected);
    EXPECT_EQ(f.state().ComPortOpen, 0);
    EXPECT_TRUE(p.isEnabled(gen::kPortCombo));
    EXPECT_FALSE(f.harness.serialPorts().held(3));
    EXPECT_TRUE(p.timerRunning(gen::kPortRescan));
    EXPECT_TRUE(f.popups.notices.empty());
}

TEST(ComPanel, ConnectToAUnitInStandbyShowsPowerOff) {
    F f;
    f.harness.state().powerOn = false;
    f.harness.state().beep = false;
    f.click(gen::kComConnect);
    f.advance(3000);
    EXPECT_EQ(f.popups.noticeTexts(), (std::vector<std::string>{"Power Off!"}));
    EXPECT_EQ(f.popups.notices[0].durationMs(), 2000);
    EXPECT_FALSE(f.page->isChecked(gen::kPower));
    EXPECT_EQ(f.sent(), (std::vector<std::string>{F::frame({0x08, 0x0C, 0x00})}));
}

TEST(ComPanel, ModeRadiosSwitchWhichGroupIsUsableAndKeepEachLink) {
    F f;
    GeneralPage& p = *f.page;
    f.click(gen::kTcpRadio);
    EXPECT_EQ(f.state().ControlMode, kModeTcp);
    EXPECT_FALSE(p.isChecked(gen::kComRadio));
    for (int id : kTcpControls) {
        EXPECT_TRUE(p.isEnabled(id)) << id;
    }
    for (int id : kComControls) {
        EXPECT_FALSE(p.isEnabled(id)) << id;
    }
    EXPECT_TRUE(p.timerRunning(gen::kPortRescan)); // never connected: the list stays current

    f.click(gen::kComRadio);
    f.click(gen::kComConnect);
    f.click(gen::kTcpRadio);
    EXPECT_TRUE(f.harness.serialPorts().held(3)); // the serial link is not closed
    f.click(gen::kComRadio);
    EXPECT_EQ(f.state().ControlMode, kModeCom);
    for (int id : kTcpControls) {
        EXPECT_FALSE(p.isEnabled(id)) << id;
    }
    EXPECT_TRUE(p.isEnabled(gen::kComConnect));
    EXPECT_FALSE(p.isEnabled(gen::kPortCombo)); // still connected
    EXPECT_FALSE(p.timerRunning(gen::kPortRescan));
}

TEST(ComPanel, CommandsRefuseWithoutALinkAndSendNothing) {
    F f;
    GeneralPage& p = *f.page;
    for (int id : {gen::kFactoryReset, gen::kReboot, gen::kBeep, gen::kPower}) {
        f.click(id);
    }
    EXPECT_EQ(f.popups.noticeTexts(), std::vector<std::string>(4, "Open COM failed!"));
    for (const Shown& s : f.popups.notices) {
        EXPECT_EQ(s.durationMs(), 1500);
    }
    EXPECT_FALSE(p.isChecked(gen::kBeep));
    EXPECT_FALSE(p.isChecked(gen::kPower));
    EXPECT_TRUE(f.sent().empty());
    EXPECT_TRUE(f.popups.progress.empty());

    f.click(gen::kTcpRadio);
    f.click(gen::kReboot);
    EXPECT_EQ(f.popups.notices.back().text, "Connect to Matrix failed!");
    EXPECT_EQ(f.popups.notices.back().durationMs(), 1500);
}

TEST(ComPanel, PulledCableShowsThePageDisconnectedAndTheListFollows) {
    F f;
    f.connectCom();
    f.harness.unplugSerial();
    f.advance(1);
    EXPECT_EQ(f.page->text(gen::kComConnect), "Connect");
    EXPECT_EQ(f.state().ComPortOpen, 0);
    EXPECT_TRUE(f.page->isEnabled(gen::kPortCombo));
    f.advance(500);
    EXPECT_TRUE(ports(*f.page).empty());
}

TEST(ComPanel, ReturnToThePageReopensThePortOrSaysItIsNotOpen) {
    F f;
    f.main->selectPage(kPageGeneral);
    f.advance(150);
    EXPECT_EQ(f.popups.noticeTexts(), (std::vector<std::string>{"Open COM failed!"}));

    f.connectCom();
    f.main->selectPage(kPageMatrix);
    EXPECT_FALSE(f.harness.serialPorts().held(3)); // the shown page may take the port
    f.main->selectPage(kPageGeneral);
    f.advance(149);
    EXPECT_FALSE(f.harness.serialPorts().held(3));
    f.advance(1);
    EXPECT_TRUE(f.harness.serialPorts().held(3));
    EXPECT_EQ(f.harness.serialPorts().record(3).opens.back().settings.stopBits, 2);
    EXPECT_EQ(f.popups.notices.size(), 1u);

    // Status after a return connects anew before the chain.
    f.click(gen::kStatus);
    const std::vector<std::string> sent = f.sent();
    ASSERT_EQ(sent.size(), 10u) << f.harness.transcript();
    EXPECT_EQ(sent[0], F::frame({0x08, 0x0C, 0x00}));
    EXPECT_EQ(sent[9], F::frame({0x01, 0x05, 0x04}));
    EXPECT_EQ(f.page->text(gen::kComConnect), "Disconnect");
}

TEST(ComPanel, HiddenCloseButtonReleasesThePortAndHidesThePage) {
    F f;
    f.connectCom();
    f.page->onCommand(gen::kClosePage, BN_CLICKED);
    EXPECT_FALSE(f.harness.serialPorts().held(3));
    EXPECT_EQ(f.state().ComPortOpen, 0);
    EXPECT_FALSE(f.page->isVisible());
}
