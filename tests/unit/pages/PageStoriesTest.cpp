// What every page does when the matrix or the link lets one of its operations down half-way:
// standby announced, the serial adapter pulled or the TCP peer resetting, a request left
// unanswered, and replies that come doubled or in pieces. One table per story, one row per
// operation of a page and link. Whatever happens the user gets a notice (or the operation's own
// success), the tabs are free again, no unit goes out more often than the one repeat allows, and
// no wait is left behind that would speak to the matrix later.
#include "FileFolder.h"
#include "PanelFixture.h"
#include "edid/EdidSamples.h"
#include "operations/FirmwareImage.h"
#include "pages/PageFactory.h"
#include "pages/edid/EdidIds.h"
#include "pages/edid/EdidPage.h"
#include "pages/firmware/FirmwareIds.h"
#include "pages/matrix/MatrixIds.h"
#include "protocol/Commands.h"

#include <algorithm>
#include <map>

using namespace zentrel;
using namespace zentrel::testing;
using Kind = sim::FaultRule::Kind;
using sim::FrameMatch;

namespace {

struct Stories : PanelFixture {
    Stories() : PanelFixture({}, makePageFactory()) {}
    FileFolder files;

    void open(bool tcp, int page) {
        tcp ? connectTcp() : connectCom();
        if (page != kPageGeneral) {
            main->selectPage(page);
            advance(1000);
        }
        clearFrames();
        popups.clear();
    }
    std::map<std::string, int> sendCounts() const {
        std::map<std::string, int> counts;
        for (const std::string& s : sent()) {
            ++counts[s];
        }
        return counts;
    }
    // Nothing left running: no page busy, no progress box, every tab usable, no timer of a page
    // waiting (the General page's port rescan runs on while no COM port is held), Upgrade usable,
    // and a minute later still nothing sent and nothing shown.
    void expectSettled() {
        EXPECT_FALSE(state().MatrixBusy);
        EXPECT_FALSE(state().UpgradeRunning);
        EXPECT_FALSE(dynamic_cast<EdidPage&>(main->page(kPageEdid)).busy());
        EXPECT_EQ(general->status().busy(), 0);
        EXPECT_FALSE(general->maintenance().resetRunning());
        EXPECT_FALSE(main->progress().isVisible());
        for (int tab : {ctl::kGeneralTab, ctl::kEdidTab, ctl::kMatrixTab, ctl::kFirmwareTab}) {
            EXPECT_TRUE(main->isEnabled(tab)) << tab;
        }
        for (int page : {kPageGeneral, kPageEdid, kPageMatrix, kPageFirmware}) {
            for (int id = 1; id < 100; ++id) {
                if (page != kPageGeneral || id != gen::kPortRescan) {
                    EXPECT_FALSE(main->page(page).window().timerRunning(id))
                        << page << " timer " << id;
                }
            }
        }
        const Window& firmware = main->page(kPageFirmware).window();
        EXPECT_TRUE(!firmware.created() || firmware.isEnabled(fw::kUpgrade));
        const std::size_t units = sent().size(), shown = popups.notices.size();
        advance(60'000);
        EXPECT_EQ(sent().size(), units) << harness.transcript();
        EXPECT_EQ(popups.notices.size(), shown);
    }
};

// A firmware's content: the Part_1 marker, then a pattern that holds no marker.
std::vector<std::uint8_t> firmware(std::size_t size) {
    std::vector<std::uint8_t> b(size);
    for (std::size_t i = 0; i < size; ++i) {
        b[i] = static_cast<std::uint8_t>((i * 7 + 1) % 0xA0);
    }
    b[0] = 0xA5;
    b[1] = 0x5A;
    FirmwareImage::descramble(b); // the file holds it scrambled
    return b;
}

struct Operation {
    const char* name;
    int page;          // the tab shown before it starts
    std::size_t units; // the units it sends while it goes well
    Names success;     // the notices it ends with when it goes well
    // The unit whose answer confirms it: the built-in EDID has said "Set successfully!" before
    // it reads the input back, so a standby after that read-back follows the success.
    std::size_t confirmedBy;
    void (*start)(Stories&);
};

void status(Stories& f) {
    f.general->click(gen::kStatus);
}
void factoryReset(Stories& f) {
    f.general->click(gen::kFactoryReset);
}
void refresh(Stories& f) {
    f.main->selectPage(kPageMatrix);
}
void route(Stories& f) {
    f.main->page(kPageMatrix).window().click(mtx::inputButton(3, 2));
}
void builtInEdid(Stories& f) {
    auto& edid = dynamic_cast<EdidPage&>(f.main->page(kPageEdid));
    edid.choose(edid::kModeTarget, 1);
    edid.click(edid::kModeSet);
}
void download(Stories& f) {
    auto& edid = dynamic_cast<EdidPage&>(f.main->page(kPageEdid));
    f.ui.answers.push_back(f.files.write("edid.bin", goodEdid(1)));
    edid.click(edid::kOpenFile);
    edid.choose(edid::kDownloadTarget, 1);
    edid.click(edid::kDownloadSet);
}
void upgrade(Stories& f) {
    f.ui.answers.push_back(f.files.write("image.fw", firmware(1026)));
    f.main->page(kPageFirmware).window().click(fw::kOpen);
    f.main->page(kPageFirmware).window().click(fw::kUpgrade);
}

// clang-format off
const Operation kOperations[] = {
    {"Status",           kPageGeneral,  8, {},                         8, status},
    {"Factory Reset",    kPageGeneral,  7, {"Set successfully!"},      7, factoryReset},
    {"routing refresh",  kPageGeneral,  4, {},                         4, refresh},
    {"switch",           kPageMatrix,   1, {},                         1, route},
    {"built-in EDID",    kPageEdid,     3, {"Set successfully!"},      2, builtInEdid},
    {"EDID download",    kPageEdid,     4, {"Download successfully!"}, 4, download},
    {"firmware upgrade", kPageFirmware, 4, {},                         4, upgrade},
};
// clang-format on

std::string nameOf(const Operation& op, bool tcp) {
    return std::string(op.name) + (tcp ? " over TCP" : " over COM");
}

} // namespace

TEST(PageStories, StandbyAtAnyStepEndsTheOperationWithTheStandbyNoticeAlone) {
    for (const Operation& op : kOperations) {
        for (bool tcp : {false, true}) {
            // Step 0: the first request goes unanswered and standby comes instead.
            for (std::size_t step = 0; step <= op.units; ++step) {
                SCOPED_TRACE(nameOf(op, tcp) + ", standby after unit " + std::to_string(step));
                Stories f;
                f.open(tcp, op.page);
                if (step == 0) {
                    f.onFault(Kind::Silent, FrameMatch::all());
                }
                f.whenReceived(std::max<std::size_t>(step, 1),
                               [&] { f.harness.announceStandby(); });
                op.start(f);
                f.advance(30'000);
                Names shown = step > op.confirmedBy ? op.success : Names{};
                shown.push_back("Matrix is in standby mode!");
                EXPECT_EQ(f.popups.noticeTexts(), shown) << f.harness.transcript();
                EXPECT_EQ(f.popups.noticeTexts(true).back(),
                          "Matrix is in standby mode! (2500 ms)");
                for (const auto& [hex, n] : f.sendCounts()) {
                    EXPECT_EQ(n, 1) << hex.substr(0, 40);
                }
                f.expectSettled();
                // Nothing of the stopped operation holds the page back: the next one goes out.
                f.clearFrames();
                op.start(f);
                f.advance(1000);
                EXPECT_FALSE(f.sent().empty());
            }
        }
    }
}

TEST(PageStories, TheLinkLostAtAnyStepEndsTheOperationAndTheNextOneKnowsIt) {
    for (const Operation& op : kOperations) {
        for (bool tcp : {false, true}) {
            for (std::size_t step = 1; step <= op.units; ++step) {
                SCOPED_TRACE(nameOf(op, tcp) + ", lost after unit " + std::to_string(step));
                Stories f;
                f.open(tcp, op.page);
                f.whenReceived(step,
                               [&] { tcp ? f.harness.resetTcp() : f.harness.unplugSerial(); });
                op.start(f);
                f.advance(30'000);
                EXPECT_FALSE(f.popups.notices.empty());
                EXPECT_EQ(tcp ? f.state().TcpConnected : f.state().ComPortOpen, 0);
                for (const auto& [hex, n] : f.sendCounts()) {
                    EXPECT_LE(n, 2) << hex.substr(0, 40);
                }
                f.expectSettled();
                if (!tcp) {
                    // The next try says the port is gone instead of waiting on a dead line.
                    f.clearFrames();
                    f.popups.clear();
                    op.start(f);
                    f.advance(5000);
                    EXPECT_EQ(f.popups.noticeTexts(), Names{"Open COM failed!"});
                    EXPECT_TRUE(f.sent().empty());
                }
            }
        }
    }
}

TEST(PageStories, DoubledOrCutUpRepliesRunTheOperationOnceAndWell) {
    sim::FaultRule split{Kind::Split, FrameMatch::all()};
    split.splitAt = {1, 2, 7};
    const std::pair<const char*, sim::FaultRule> shapes[] = {
        {"doubled", {Kind::Duplicate, FrameMatch::all()}},
        {"byte by byte", {Kind::ByteByByte, FrameMatch::all()}},
        {"split", split},
    };
    for (const Operation& op : kOperations) {
        for (bool tcp : {false, true}) {
            Names clean;
            {
                Stories f;
                f.open(tcp, op.page);
                op.start(f);
                f.advance(30'000);
                clean = f.sent();
            }
            for (const auto& [shape, rule] : shapes) {
                SCOPED_TRACE(nameOf(op, tcp) + ", replies " + shape);
                Stories f;
                f.open(tcp, op.page);
                f.onFault(rule);
                op.start(f);
                f.advance(30'000);
                EXPECT_EQ(f.popups.noticeTexts(), op.success) << f.harness.transcript();
                EXPECT_EQ(f.sent(), clean) << f.harness.transcript();
                f.expectSettled();
            }
        }
    }
}

TEST(PageStories, AnUnansweredRequestIsRepeatedOnceWhereItMayBeThenGivenUpWithTimeOut) {
    struct Silence {
        std::size_t operation; // in kOperations
        FrameMatch match;      // the requests that go unanswered
        std::string unit;      // the unit that goes out `times` times
        int times;
        std::int64_t giveUpMs; // from its first send to the notice
    };
    const Silence rows[] = {
        {0, FrameMatch::of(cmd::kOutputStatus), frames("01 05 01")[0], 2, 10000},
        {2, FrameMatch::of(cmd::kRouting).with(4, 1), frames("02 01 01")[0], 2, 8000},
        {3, FrameMatch::of(cmd::kSwitch).with(6, 3), cmd::routeInput(2, 3).hex(), 2, 8000},
        {4, FrameMatch::of(cmd::kEdidAccess), frames("03 08 F0")[0], 2, 10000},
        {5, FrameMatch::of(cmd::kEdidDownload).with(5, cmd::kEdidFixed), frames("03 07 02 F0")[0],
         2, 10000},
    };
    for (const Silence& row : rows) {
        const Operation& op = kOperations[row.operation];
        SCOPED_TRACE(op.name);
        Stories f;
        f.open(false, op.page);
        f.onFault(Kind::Silent, row.match);
        op.start(f);
        f.advance(30'000);
        const Names sent = f.sent();
        EXPECT_EQ(std::count(sent.begin(), sent.end(), row.unit), row.times)
            << f.harness.transcript();
        ASSERT_EQ(f.popups.noticeTexts(), Names{"Time out!"});
        std::int64_t firstSend = -1;
        for (const sim::FrameRecord& r : f.harness.frames().all()) {
            if (firstSend < 0 && r.direction == sim::FrameRecord::Direction::ToMatrix &&
                r.hex == row.unit) {
                firstSend = r.atMs;
            }
        }
        EXPECT_NEAR(static_cast<double>(f.popups.notices[0].openedMs - firstSend),
                    static_cast<double>(row.giveUpMs), 5.0);
        f.expectSettled();
    }
}
