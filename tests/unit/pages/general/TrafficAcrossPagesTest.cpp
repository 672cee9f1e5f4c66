// The traffic log of a session on the General, Matrix and FW Upgrade pages over COM, then TCP:
// every frame and datagram the matrix took and every one it answered, under its page and
// direction, at its virtual time, in order, whether or not the page logs the bytes.
#include "GeneralFixture.h"
#include "app/SystemCommands.h"
#include "app/TrafficWindow.h"

#include <set>
#include "pages/matrix/MatrixIds.h"
#include "pages/firmware/FirmwarePage.h"
#include "pages/matrix/MatrixPage.h"

using namespace zentrel;
using namespace zentrel::testing;

TEST(TrafficAcrossPages, TwoPagesOverBothLinksAreListedByPageDirectionAndVirtualTime) {
    GeneralFixture f({}, [](int number, PageContext& ctx) -> std::unique_ptr<Page> {
        if (number == kPageFirmware) {
            return std::make_unique<FirmwarePage>(ctx);
        }
        return GeneralFixture::pages<MatrixPage>(kPageMatrix)(number, ctx);
    });
    unsigned showTraffic = 0;
    for (const MenuEntry& e : f.main->windowMenu()) {
        showTraffic = e.text == "Show traffic log" ? e.command : showTraffic;
    }
    ASSERT_NE(showTraffic & 0xFFF0, SC_ABOUT);
    std::vector<std::string> queries; // when the Matrix page is woken, 150 ms after its switch
    auto session = [&] {
        f.click(gen::kStatus);
        f.advance(700);
        queries.push_back(TrafficWindow::clockText(f.now() + 150) + "  Matrix  sent  ");
        f.main->selectPage(kPageMatrix);
        f.advance(1000);
        f.main->selectPage(kPageFirmware); // its device line's queries
        f.advance(1000);
        f.main->selectPage(kPageGeneral);
        f.advance(1000);
    };
    f.click(gen::kComConnect);
    f.advance(333);
    session(); // while the log is hidden
    f.click(gen::kTcpRadio);
    f.click(gen::kSearch);
    f.advance(50);
    f.main->onSystemCommand(showTraffic);
    f.click(gen::kTcpConnect);
    f.advance(200);
    session(); // while it is shown

    // Sent entries are what the matrix took, received ones what it answered, both in order;
    // times never go back; the FW Upgrade page's queries are there though its log shows none.
    Names sent, received;
    std::set<std::string> pages;
    std::string lastTime, lines = f.main->trafficWindow().text(TrafficWindow::kText);
    std::istringstream in(lines);
    for (std::string l; std::getline(in, l);) {
        Names field; // time, page, direction, bytes, meaning: two blanks apart, never inside one
        for (std::size_t at = 0, end = 0; end != std::string::npos; at = end + 2) {
            end = l.find("  ", at);
            field.push_back(l.substr(at, end - at));
        }
        ASSERT_EQ(field.size(), 5u) << l;
        pages.insert(field[1]);
        if (field[2] == "sent") {
            sent.push_back(field[3]);
        } else if (field[3] != "61") { // the search's own broadcast, heard back by its socket
            received.push_back(field[3]);
        }
        EXPECT_LE(lastTime, field[0]);
        lastTime = field[0];
    }
    EXPECT_EQ(sent, f.sent());
    EXPECT_EQ(received, f.harness.fromMatrix());
    EXPECT_EQ(pages, (std::set<std::string>{"General", "Matrix", "FW Upgrade"}));
    for (const std::string& q : queries) {
        EXPECT_NE(lines.find(q), std::string::npos) << q;
    }
}
