#pragma once
// The real application on the virtual clock with a simulated matrix, connected by the General
// page and then on the EDID tab. Tests choose entries, click, advance the clock, and read the
// frames each way, the status lines and the pop-ups the user saw, with their times.
#include "EdidSamples.h"
#include "FileFolder.h"
#include "PanelFixture.h"
#include "pages/edid/EdidIds.h"
#include "pages/edid/EdidPage.h"

#include <gtest/gtest.h>

namespace zentrel::testing {

struct EdidFixture : PanelFixture {
    explicit EdidFixture(sim::SimulatedMatrixHarness::Options options = {})
        : PanelFixture(std::move(options), pagesWith<EdidPage>(kPageEdid)) {}

    EdidPage* edid = nullptr;
    FileFolder files;

    // Chooses the EDID tab; returns once its activation has sent its first query.
    void chooseTab() {
        main->selectPage(kPageEdid);
        edid = &dynamic_cast<EdidPage&>(main->page(kPageEdid));
    }
    // The EDID tab over COM3 or TCP with its refresh done, the records emptied.
    void openOverCom() {
        connectCom();
        open();
    }
    void openOverTcp() {
        connectTcp();
        open();
    }
    void open() {
        chooseTab();
        advance(1000);
        harness.clearFrames();
        popups.clear();
    }

    void choose(int id, int index) { edid->choose(id, index); }
    // A click on the EDID page; returns once the pop-ups it opened have closed.
    void press(int id) { edid->click(id); }
    // `fn` at `ms` from now, from inside whatever pop-up is open then.
    void at(std::int64_t ms, std::function<void()> fn) {
        harness.loop().schedule(ms, std::move(fn));
    }

    std::vector<std::string> statusLines() {
        std::vector<std::string> out;
        for (int k = 1; k <= state().size().inputs; ++k) {
            out.push_back(edid->text(edid::statusLine(k)));
        }
        return out;
    }
    // Each notice with its opening time from `start` and how long it stayed.
    Names noticesFrom(std::int64_t start) const {
        Names out;
        for (const Shown& s : popups.notices) {
            out.push_back(s.text + " @" + std::to_string(s.openedMs - start) + " (" +
                          std::to_string(s.durationMs()) + " ms)");
        }
        return out;
    }
    // When each unit the panel sent reached the matrix, from `start`, with its hex.
    Names sentAt(std::int64_t start) {
        Names out;
        for (const sim::FrameRecord& r : harness.frames().all()) {
            if (r.direction == sim::FrameRecord::Direction::ToMatrix) {
                out.push_back(std::to_string(r.atMs - start) + ": " + r.hex);
            }
        }
        return out;
    }
};

struct EdidTest : ::testing::Test, EdidFixture {};

} // namespace zentrel::testing
