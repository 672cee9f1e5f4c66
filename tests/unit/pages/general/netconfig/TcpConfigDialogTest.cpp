// The TCP configuration dialog in the real application on the virtual clock, against the
// simulated matrix: what it broadcasts, what the configuration box shows after it, and how the
// panel finds and reaches the matrix at its new address, also when the segment misbehaves
// while the panel waits (the acceptance heard twice, a flood of foreign datagrams).
#include "pages/general/netconfig/TcpConfigDialog.h"
#include "pages/general/netconfig/TcpConfigIds.h"
#include "platform/sim/VirtualUdpPeer.h"
#include "unit/pages/general/GeneralFixture.h"

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::testing;

namespace {

// The notices and pop-ups as GeneralFixture records them, plus the configuration box's
// openings, closings and result texts, each with its time after OK.
struct BoxRecorder : PopupRecorder {
    using PopupRecorder::PopupRecorder;
    std::int64_t start = 0;
    Names box;
    std::string at(EventLoop& loop) { return std::to_string(loop.nowMs() - start) + " "; }
    void controlChanged(Window& w, int id) override {
        PopupRecorder::controlChanged(w, id);
        if (w.templateId() == res::kConfigBoxDialog && id == ctl::kConfigLabel &&
            w.text(id).rfind("Configuring", 0) != 0) {
            box.push_back(at(w.loop()) + w.text(id));
        }
    }
    void modalStarted(Window& w) override {
        PopupRecorder::modalStarted(w);
        if (w.templateId() == res::kConfigBoxDialog) {
            box.push_back(at(w.loop()) + "open");
        }
    }
    void modalEnded(Window& w) override {
        PopupRecorder::modalEnded(w);
        if (w.templateId() == res::kConfigBoxDialog) {
            box.push_back(at(w.loop()) + "closed");
        }
    }
};

std::string hex(std::span<const std::uint8_t> bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string s;
    for (std::uint8_t b : bytes) {
        s += {digits[b >> 4], digits[b & 15], ' '};
    }
    return s;
}

class NetConfig : public ::testing::Test {
protected:
    NetConfig() { f.harness.loop().setObserver(&rec); }
    ~NetConfig() override { f.harness.loop().setObserver(nullptr); }

    TcpConfigDialog& dialog() { return f.page->configDialog(); }
    void openDialog() {
        f.search();
        f.click(gen::kConfig);
    }
    void typeAddress(const std::string& a, const std::string& b, const std::string& c,
                     const std::string& d) {
        dialog().click(nc::kStaticIp);
        const std::string parts[] = {a, b, c, d};
        for (int k = 1; k <= nc::kOctets; ++k) {
            dialog().type(nc::octet(k), parts[k - 1]);
        }
    }
    // OK, then everything that follows until the configuration box has closed.
    void pressOk() {
        rec.start = f.now();
        dialog().click(nc::kOk);
        f.harness.loop().settle();
    }
    // Every record the panel broadcast to the configuration port, as hex.
    Names records() {
        Names out;
        for (const VirtualDatagram& d : f.net().datagrams()) {
            if (d.toPort == TcpConfigDialog::kPort && d.fromIp == f.net().hostIp()) {
                out.push_back(hex(d.bytes));
            }
        }
        return out;
    }
    Names ipList() { return f.page->control(gen::kIpCombo).items; }
    // What the matrix answers to the record just sent, accepted.
    std::vector<std::uint8_t> acceptance() {
        std::vector<std::uint8_t> a(dialog().record().bytes().begin(),
                                    dialog().record().bytes().end());
        a[ConfigRecord::kStatusByte] = ConfigRecord::kStatusAccepted;
        return a;
    }

    GeneralFixture f;
    BoxRecorder rec{f.harness.loop()};
};

// Bytes 0..25 of a record, the 48 zeros, the status and the checksum.
std::string record(const std::string& head, const std::string& tail) {
    std::string zeros;
    for (int i = 0; i < 48; ++i) {
        zeros += "00 ";
    }
    return head + zeros + tail;
}

} // namespace

TEST_F(NetConfig, StaticThenAutoInOneRunAndTheMatrixIsFoundAndReachedAtItsNewAddress) {
    openDialog();
    ASSERT_TRUE(dialog().isVisible());
    typeAddress("192", "168", "1", "77");
    dialog().type(nc::macByte(6), "42");
    pressOk();
    const std::string staticHead = "02 5A 45 4E 00 01 C0 A8 01 4D C0 A8 01 01 FF FF FF 00 00 "
                                   "02 5A 45 4E 00 42 17 ";
    EXPECT_EQ(records(), Names{record(staticHead, "FF 54 ")});
    EXPECT_EQ(rec.box, (Names{"0 open", "0 Matrix configuration completed successfully!",
                              "2000 Searching Matrix IP . . .", "2500 closed"}));
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_EQ(ipList(), Names{"192.168.1.77"});
    EXPECT_EQ(f.state().MatrixIp, "192.168.1.77");
    EXPECT_EQ(f.state().SelectedMac, "025A454E0042");

    // The matrix now serves TCP at its new address only.
    f.click(gen::kTcpConnect);
    f.advance(200);
    EXPECT_EQ(f.state().ShownConnected, 1);
    EXPECT_EQ(f.net().connectTargets().back(),
              (std::pair<std::string, std::uint16_t>{"192.168.1.77", 8000}));

    // Reopened: the fields follow the new target, Static IP stays chosen. Auto IP then sends
    // the address, gateway and mask of the Static request before it.
    f.click(gen::kConfig);
    EXPECT_EQ(dialog().text(nc::octet(4)), "77");
    EXPECT_EQ(dialog().text(nc::macByte(6)), "42");
    EXPECT_TRUE(dialog().isChecked(nc::kStaticIp));
    EXPECT_TRUE(dialog().isEnabled(nc::octet(1)));
    dialog().click(nc::kAutoIp);
    EXPECT_FALSE(dialog().isEnabled(nc::octet(1)));
    pressOk();
    const std::string autoHead = "02 5A 45 4E 00 42 C0 A8 01 4D C0 A8 01 01 FF FF FF 00 01 "
                                 "02 5A 45 4E 00 42 16 ";
    ASSERT_EQ(records().size(), 2u);
    EXPECT_EQ(records()[1], record(autoHead, "FF 95 "));
    EXPECT_EQ(f.harness.state().ip, (std::array<std::uint8_t, 4>{192, 168, 1, 77}));
    EXPECT_EQ(ipList(), Names{"192.168.1.77"});
}

TEST_F(NetConfig, WithoutAnAcceptingAnswerTheBoxFailsAfterTenSeconds) {
    // No answer at all: only our own broadcast comes back, and it is consumed without effect.
    openDialog();
    f.harness.setUdpSilent(true);
    pressOk();
    EXPECT_EQ(rec.box, (Names{"0 open", "10000 configure failed!", "12000 closed"}));
    EXPECT_EQ(records().size(), 1u);
    EXPECT_EQ(dialog().replies().count(), 0u);
    EXPECT_EQ(f.state().ConfigResult, 0);

    // A refusal, in two parts behind stray bytes, is no acceptance either.
    f.harness.setUdpSilent(false);
    f.harness.matrix().network().setRefuseConfig(true);
    f.harness.matrix().network().setAnswerShape({0, 40, {0x00, 0xFF}});
    rec.box.clear();
    f.click(gen::kConfig);
    pressOk();
    EXPECT_EQ(rec.box, (Names{"0 open", "10000 configure failed!", "12000 closed"}));
    EXPECT_EQ(f.harness.fromMatrix().size(), 2u);
}

TEST_F(NetConfig, AnAcceptanceInPiecesOrAfterTheBoxHasFailedStillLeadsToTheNewAddress) {
    openDialog();
    f.harness.matrix().network().setAnswerShape({300, 40, {0x00, 0xFF, 0x61}});
    typeAddress("192", "168", "1", "78");
    pressOk();
    EXPECT_EQ(rec.box, (Names{"0 open", "300 Matrix configuration completed successfully!",
                              "2300 Searching Matrix IP . . .", "2800 closed"}));
    EXPECT_EQ(ipList(), Names{"192.168.1.78"});

    // Too late for the box: it has said "configure failed!", yet the search that follows the
    // acceptance shows where the matrix went.
    f.harness.matrix().network().setAnswerShape({11000, 0, {}});
    rec.box.clear();
    f.click(gen::kConfig);
    typeAddress("192", "168", "1", "79");
    pressOk();
    f.advance(3000);
    EXPECT_EQ(rec.box, (Names{"0 open", "10000 configure failed!",
                              "11000 Matrix configuration completed successfully!", "12000 closed",
                              "13000 Searching Matrix IP . . ."}));
    EXPECT_EQ(ipList(), Names{"192.168.1.79"});
}

TEST_F(NetConfig, AcceptedButTheMatrixIsNotFoundAgain) {
    openDialog();
    typeAddress("192", "168", "1", "80");
    f.harness.loop().schedule(100, [this] { f.harness.setUdpSilent(true); });
    pressOk();
    EXPECT_EQ(rec.box, (Names{"0 open", "0 Matrix configuration completed successfully!",
                              "2000 Searching Matrix IP . . .", "7500 Search Matrix IP failed!",
                              "8000 closed"}));
    EXPECT_TRUE(ipList().empty());
}

TEST_F(NetConfig, FieldsThatWouldSendAnotherAddressAreRefusedByName) {
    openDialog();
    // What the fields accept as typed: digits in an octet, two upper-case characters for a
    // MAC byte.
    dialog().click(nc::kStaticIp);
    dialog().type(nc::octet(1), "1x0a27");
    dialog().type(nc::macByte(1), "0ab");
    EXPECT_EQ(dialog().text(nc::octet(1)), "102");
    EXPECT_EQ(dialog().text(nc::macByte(1)), "0A");

    typeAddress("192", "300", "1", "7");
    dialog().click(nc::kOk);
    typeAddress("192", "168", "", "7");
    dialog().click(nc::kOk);
    typeAddress("192", "168", "255", "7"); // 255 is an octet like any other
    dialog().type(nc::macByte(3), "5");
    dialog().click(nc::kOk);
    dialog().type(nc::macByte(3), "G5");
    dialog().click(nc::kOk);
    EXPECT_EQ(rec.noticeTexts(true), (Names{"IP address octet 2 must be 0 to 255! (1500 ms)",
                                            "IP address octet 3 must be 0 to 255! (1500 ms)",
                                            "MAC byte 3 must be two hex digits! (1500 ms)",
                                            "MAC byte 3 must be two hex digits! (1500 ms)"}));
    EXPECT_TRUE(records().empty());
    EXPECT_TRUE(dialog().isVisible());

    // With Auto IP the address is not sent, so an odd octet does not stop the record.
    dialog().type(nc::macByte(3), "45");
    dialog().type(nc::octet(2), "999");
    dialog().click(nc::kAutoIp);
    pressOk();
    EXPECT_EQ(records().size(), 1u);
}

TEST_F(NetConfig, ReopeningRefillsFromTheChosenMatrixAndKeepsTheMode) {
    f.harness.matrix().network().setSecondUnit(true);
    openDialog();
    ASSERT_EQ(ipList(), (Names{"192.168.1.100", "192.168.1.101"}));
    dialog().click(nc::kStaticIp);
    dialog().type(nc::octet(4), "5");
    dialog().click(nc::kCancel);
    EXPECT_FALSE(dialog().isVisible());

    f.page->choose(gen::kIpCombo, 1);
    f.click(gen::kConfig);
    EXPECT_TRUE(dialog().isVisible());
    EXPECT_EQ(dialog().text(nc::octet(4)), "101");
    EXPECT_EQ(dialog().text(nc::macByte(6)), "02");
    EXPECT_TRUE(dialog().isChecked(nc::kStaticIp));
    EXPECT_TRUE(dialog().isEnabled(nc::octet(4)));
    dialog().click(nc::kClose);
    EXPECT_FALSE(dialog().isVisible());
}

TEST_F(NetConfig, AnAcceptanceHeardTwiceIsReportedOnceAndSearchedOnce) {
    openDialog();
    typeAddress("192", "168", "1", "90");
    auto echo = f.net().openUdpPeer("192.168.1.99", TcpConfigDialog::kPort);
    // Another copy of the acceptance 50 ms after the matrix's own.
    f.harness.loop().schedule(
        50, [&] { echo->sendTo(acceptance(), f.net().hostIp(), TcpConfigDialog::kPort); });
    pressOk();
    f.advance(15000);
    // The copy starts the 2 s over; one search follows.
    EXPECT_EQ(rec.box, (Names{"0 open", "0 Matrix configuration completed successfully!",
                              "2050 Searching Matrix IP . . .", "2550 closed"}));
    EXPECT_EQ(records().size(), 1u);
    EXPECT_EQ(ipList(), Names{"192.168.1.90"});
    EXPECT_EQ(dialog().replies().count(), 0u);
}

TEST_F(NetConfig, AFloodOfForeignDatagramsNeitherHidesTheAnswerNorGrowsTheBuffer) {
    openDialog();
    typeAddress("192", "168", "1", "90");
    f.harness.matrix().network().setAnswerShape({400, 0, {}});
    auto flooder = f.net().openUdpPeer("192.168.1.66", TcpConfigDialog::kPort);
    const std::vector<std::uint8_t> huge(64 * 1024, 0x5A);
    std::size_t peak = 0;
    for (int i = 0; i < 300; ++i) {
        f.harness.loop().schedule(1 + i, [&, i] {
            std::vector<std::uint8_t> junk(static_cast<std::size_t>(i % 90) + 1,
                                           static_cast<std::uint8_t>(i));
            flooder->sendTo(i % 50 == 0 ? huge : junk, VirtualNetwork::kBroadcast,
                            TcpConfigDialog::kPort);
        });
        f.harness.loop().schedule(2 + i,
                                  [&] { peak = std::max(peak, dialog().replies().count()); });
    }
    pressOk();
    EXPECT_LT(peak, ConfigRecord::kSize);
    EXPECT_EQ(rec.box.at(1), "400 Matrix configuration completed successfully!");
    EXPECT_EQ(f.state().MatrixIp, "192.168.1.90");
    EXPECT_EQ(records().size(), 1u);
}
