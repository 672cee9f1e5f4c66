// The traffic log of a session that runs the General and the Matrix page over COM and then over
// TCP: every frame the pages' logs wrote, under the right page and direction, at the virtual
// time it was written, in the order the matrix saw them.
#include "GeneralFixture.h"
#include "app/SystemCommands.h"
#include "app/TrafficWindow.h"
#include "pages/matrix/MatrixIds.h"
#include "pages/matrix/MatrixPage.h"

using namespace zentrel;
using namespace zentrel::testing;

namespace {

struct Line {
    std::string time, page, direction, hex;
};

// "hh:mm:ss.mmm  PAGE  DIRECTION  HEX", PAGE possibly of two words.
std::vector<Line> parse(const std::string& text) {
    std::vector<Line> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) {
        Line x;
        std::size_t a = l.find("  "), b = l.find("  ", a + 2), c = l.find("  ", b + 2);
        EXPECT_NE(c, std::string::npos) << l;
        if (c == std::string::npos) {
            continue;
        }
        x.time = l.substr(0, a);
        x.page = l.substr(a + 2, b - a - 2);
        x.direction = l.substr(b + 2, c - b - 2);
        x.hex = l.substr(c + 2);
        out.push_back(x);
    }
    return out;
}

// A log box's lines without their trailing blank.
Names boxLines(const Window& page, int id) {
    Names out;
    std::istringstream in(page.text(id));
    for (std::string l; std::getline(in, l);) {
        while (!l.empty() && (l.back() == '\r' || l.back() == ' ')) {
            l.pop_back();
        }
        out.push_back(l);
    }
    return out;
}

Names select(const std::vector<Line>& lines, const std::string& page, const std::string& dir) {
    Names out;
    for (const Line& l : lines) {
        if ((page.empty() || l.page == page) && l.direction == dir) {
            out.push_back(l.hex);
        }
    }
    return out;
}

bool has(const std::vector<Line>& lines, const std::string& time, const std::string& page,
         const std::string& dir) {
    for (const Line& l : lines) {
        if (l.time == time && l.page == page && l.direction == dir) {
            return true;
        }
    }
    return false;
}

} // namespace

TEST(TrafficAcrossPages, TwoPagesOverBothLinksAreListedByPageDirectionAndVirtualTime) {
    GeneralFixture f({}, GeneralFixture::pages<MatrixPage>(kPageMatrix));
    std::vector<std::int64_t> matrixShownAt;
    auto session = [&] {
        f.click(gen::kStatus);
        f.advance(700);
        matrixShownAt.push_back(f.now());
        f.main->selectPage(kPageMatrix);
        f.advance(1000);
        f.main->selectPage(kPageGeneral);
        f.advance(1000);
    };
    f.click(gen::kComConnect);
    f.advance(333);
    session();
    // Part of the session while the log is hidden, the rest while it is shown.
    f.main->onSystemCommand(SC_TRAFFIC);
    f.main->trafficWindow().onCancel();
    f.click(gen::kTcpRadio);
    f.click(gen::kSearch);
    f.advance(50);
    f.main->onSystemCommand(SC_TRAFFIC);
    f.click(gen::kTcpConnect);
    f.advance(200);
    session();

    const auto lines = parse(f.main->trafficWindow().text(TrafficWindow::kText));
    Window& matrix = f.main->page(kPageMatrix).window();
    // Each page's lines each way are its own log box's lines, so each frame is under the page
    // and direction that logged it.
    EXPECT_EQ(select(lines, "General", "sent"), boxLines(*f.page, gen::kSendLog));
    EXPECT_EQ(select(lines, "General", "received"), boxLines(*f.page, gen::kReceiveLog));
    EXPECT_EQ(select(lines, "Matrix", "sent"), boxLines(matrix, mtx::kSendLog));
    EXPECT_EQ(select(lines, "Matrix", "received"), boxLines(matrix, mtx::kReceiveLog));
    // The frames sent, of both pages over both links, in the order the matrix took them (the
    // one-byte search probe is no frame and no page logs it).
    Names toMatrix;
    for (const std::string& frame : f.sent()) {
        if (frame.size() == 3 * CommandFrame::kSize - 1) {
            toMatrix.push_back(frame);
        }
    }
    EXPECT_EQ(select(lines, "", "sent"), toMatrix);

    // Times are the virtual clock's, in order: the Matrix page's first query goes out as the
    // main window wakes it, 150 ms after it was shown.
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        EXPECT_LE(lines[i].time, lines[i + 1].time);
    }
    ASSERT_EQ(matrixShownAt.size(), 2u);
    for (std::int64_t shown : matrixShownAt) {
        const std::string query = TrafficWindow::clockText(shown + 150);
        EXPECT_TRUE(has(lines, query, "Matrix", "sent")) << query;
    }
}
