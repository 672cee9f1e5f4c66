// The traffic log of a session on the General and the Matrix page over COM, then TCP: every
// frame the pages' logs wrote, under its page and direction, at its virtual time, in order.
#include "GeneralFixture.h"
#include "app/SystemCommands.h"
#include "app/TrafficWindow.h"
#include "pages/matrix/MatrixIds.h"
#include "pages/matrix/MatrixPage.h"

using namespace zentrel;
using namespace zentrel::testing;

TEST(TrafficAcrossPages, TwoPagesOverBothLinksAreListedByPageDirectionAndVirtualTime) {
    GeneralFixture f({}, GeneralFixture::pages<MatrixPage>(kPageMatrix));
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

    // Each page's lines each way are its log box's lines; all sent ones are the frames the
    // matrix took, in order; times never go back.
    const Window& matrix = f.main->page(kPageMatrix).window();
    std::map<std::string, std::string> expected{
        {"General  sent", f.page->text(gen::kSendLog)},
        {"General  received", f.page->text(gen::kReceiveLog)},
        {"Matrix  sent", matrix.text(mtx::kSendLog)},
        {"Matrix  received", matrix.text(mtx::kReceiveLog)}};
    std::map<std::string, std::string> listed;
    Names sent;
    std::string lastTime, lines = f.main->trafficWindow().text(TrafficWindow::kText);
    std::istringstream in(lines);
    for (std::string l; std::getline(in, l);) {
        Names field; // time, page, direction, bytes, meaning: two blanks apart, never inside one
        for (std::size_t at = 0, end = 0; end != std::string::npos; at = end + 2) {
            end = l.find("  ", at);
            field.push_back(l.substr(at, end - at));
        }
        ASSERT_EQ(field.size(), 5u) << l;
        listed[field[1] + "  " + field[2]] += field[3] + " \r\n";
        if (field[2] == "sent") {
            sent.push_back(field[3]);
        }
        EXPECT_LE(lastTime, field[0]);
        lastTime = field[0];
    }
    EXPECT_EQ(listed, expected);
    Names frames; // the one-byte search probe is no frame and no page logs it
    for (const std::string& s : f.sent()) {
        if (s.size() > 2) {
            frames.push_back(s);
        }
    }
    EXPECT_EQ(sent, frames);
    for (const std::string& q : queries) {
        EXPECT_NE(lines.find(q), std::string::npos) << q;
    }
}
