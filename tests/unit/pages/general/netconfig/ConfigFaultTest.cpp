// The configuration run when the segment misbehaves while the panel waits for the answer: the
// acceptance arriving twice, a flood of foreign datagrams (64 KiB ones among them) on the
// configuration port. One record goes out, the box says one thing, and the receive buffer
// never grows past one pending record.
#include "pages/general/netconfig/TcpConfigDialog.h"
#include "pages/general/netconfig/TcpConfigIds.h"
#include "platform/sim/VirtualUdpPeer.h"
#include "unit/pages/general/GeneralFixture.h"

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::testing;

namespace {

struct BoxTexts : PopupRecorder {
    using PopupRecorder::PopupRecorder;
    Names box;
    void controlChanged(Window& w, int id) override {
        PopupRecorder::controlChanged(w, id);
        if (w.templateId() == res::kConfigBoxDialog && id == ctl::kConfigLabel &&
            w.text(id).rfind("Configuring", 0) != 0) {
            box.push_back(w.text(id));
        }
    }
};

class ConfigFaults : public ::testing::Test {
protected:
    ConfigFaults() { f.harness.loop().setObserver(&rec); }
    ~ConfigFaults() override { f.harness.loop().setObserver(nullptr); }

    TcpConfigDialog& dialog() { return f.page->configDialog(); }
    void openAndFill() {
        f.search();
        f.click(gen::kConfig);
        dialog().click(nc::kStaticIp);
        const char* parts[] = {"192", "168", "1", "90"};
        for (int k = 1; k <= nc::kOctets; ++k) {
            dialog().type(nc::octet(k), parts[k - 1]);
        }
    }
    int recordsSent() {
        int n = 0;
        for (const VirtualDatagram& d : f.net().datagrams()) {
            n += d.toPort == TcpConfigDialog::kPort && d.fromIp == f.net().hostIp();
        }
        return n;
    }
    // What the matrix answers to the record just sent, accepted.
    std::vector<std::uint8_t> acceptance() {
        std::vector<std::uint8_t> a(dialog().record().bytes().begin(),
                                    dialog().record().bytes().end());
        a[ConfigRecord::kStatusByte] = ConfigRecord::kStatusAccepted;
        return a;
    }

    GeneralFixture f;
    BoxTexts rec{f.harness.loop()};
};

} // namespace

TEST_F(ConfigFaults, AnAcceptanceHeardTwiceIsReportedOnceAndSearchedOnce) {
    openAndFill();
    auto echo = f.net().openUdpPeer("192.168.1.99", TcpConfigDialog::kPort);
    // Another copy of the acceptance 50 ms after the matrix's own.
    f.harness.loop().schedule(
        50, [&] { echo->sendTo(acceptance(), f.net().hostIp(), TcpConfigDialog::kPort); });
    dialog().click(nc::kOk);
    f.advance(15000);

    EXPECT_EQ(rec.box,
              (Names{"Matrix configuration completed successfully!", "Searching Matrix IP . . ."}));
    EXPECT_EQ(recordsSent(), 1);
    EXPECT_EQ(f.page->control(gen::kIpCombo).items, Names{"192.168.1.90"});
    EXPECT_EQ(dialog().replies().count(), 0u);
}

TEST_F(ConfigFaults, AFloodOfForeignDatagramsNeitherHidesTheAnswerNorGrowsTheBuffer) {
    openAndFill();
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
    dialog().click(nc::kOk);
    f.advance(15000);

    EXPECT_LT(peak, ConfigRecord::kSize);
    EXPECT_EQ(rec.box.at(0), "Matrix configuration completed successfully!");
    EXPECT_EQ(f.state().MatrixIp, "192.168.1.90");
    EXPECT_EQ(recordsSent(), 1);
}
