// The real panel's Matrix page on the Qt event loop and the real serial channel, against the
// zentrel-matrix-sim program on a pseudo-terminal published as COM3. The TCP side of the page
// is the unit tests' (the same model on the virtual network).
#include "PanelOnQt.h"
#include "SimProcess.h"
#include "pages/matrix/MatrixIds.h"
#include "pages/matrix/MatrixPage.h"
#include "protocol/Commands.h"
#include "resources/ControlIds.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

using namespace zentrel;
using namespace zentrel::testing;
using zentrel::sim::test::SimProcess;

namespace {

struct MatrixOnQt : PanelOnQt {
    MatrixOnQt() { matrix = &dynamic_cast<MatrixPage&>(main->page(kPageMatrix)); }

    // Shows the Matrix tab and waits for its routing to be read back.
    bool showMatrix() {
        const std::size_t before = lastQueries();
        clickCaption(ctl::kMatrixCaption);
        return waitUntil([&] { return lastQueries() > before && !app.state().MatrixBusy; });
    }
    // How many times the page has asked for output 4's routing, the last of a refresh.
    std::size_t lastQueries() const {
        if (!matrix->created()) {
            return 0;
        }
        const std::string log = matrix->text(mtx::kSendLog);
        const std::string query = cmd::queryRouting(4).hex();
        std::size_t n = 0;
        for (std::size_t at = log.find(query); at != std::string::npos;
             at = log.find(query, at + 1)) {
            ++n;
        }
        return n;
    }
    // "B:3[3]" for output 2: what the box shows and which inputs are pressed.
    std::string output(int k) const {
        std::string out = std::string(1, static_cast<char>('A' + k - 1)) + ":" +
                          matrix->text(mtx::numberBox(k)) + "[";
        for (int i = 1; i <= mtx::kInputs; ++i) {
            if (matrix->isChecked(mtx::inputButton(k, i))) {
                out += std::to_string(i);
            }
        }
        return out + "]";
    }
    std::string grid() const {
        return output(1) + " " + output(2) + " " + output(3) + " " + output(4);
    }

    MatrixPage* matrix = nullptr;
};

} // namespace

TEST(MatrixOnPty, AClickOnTheGridIsWhatTheRoutingReadsBack) {
    SimProcess sim{{"--com", "3", "--no-tcp"}};
    ASSERT_TRUE(sim.waitFor("published as")) << sim.log() << sim.errors();
    setenv("XDG_RUNTIME_DIR", sim.portLink(3).parent_path().parent_path().parent_path().c_str(), 1);
    const std::unique_ptr<const char, void (*)(const char*)> unset{
        "XDG_RUNTIME_DIR", [](const char* var) { unsetenv(var); }};
    MatrixOnQt panel;
    ASSERT_TRUE(panel.connectCom("COM3"));
    ASSERT_TRUE(panel.waitUntil([&] { return panel.general->isChecked(gen::kBeep); })) << sim.log();

    ASSERT_TRUE(panel.showMatrix()) << sim.log();
    EXPECT_EQ(panel.grid(), "A:1[1] B:2[2] C:3[3] D:4[4]");

    panel.matrix->click(mtx::inputButton(2, 3));
    EXPECT_EQ(panel.output(2), "B:2[2]"); // nothing shown before the matrix confirms
    ASSERT_TRUE(panel.waitUntil([&] { return panel.output(2) == "B:3[3]"; })) << sim.log();
    panel.matrix->click(mtx::prevArrow(4));
    ASSERT_TRUE(panel.waitUntil([&] { return panel.output(4) == "D:3[3]"; })) << sim.log();

    // Back to General and to Matrix: the routing read from the matrix is the one clicked.
    // (The General page's activation runs 150 ms after its tab is chosen; it is let run first.)
    panel.clickCaption(ctl::kGeneralCaption);
    panel.waitUntil([] { return false; }, 400);
    ASSERT_TRUE(panel.showMatrix()) << sim.log();
    EXPECT_EQ(panel.grid(), "A:1[1] B:3[3] C:3[3] D:3[3]");
    EXPECT_TRUE(sim.waitFor(R"(in  COM3  A5 5B 02 03 03 00 02 00 00 00 00 00 F6)")) << sim.log();
    EXPECT_FALSE(panel.loop.quitRequested());
    EXPECT_EQ(panel.app.state().NoticeShown, 0);
}
