#pragma once
// The shared panel fixture with the General page under test among stand-ins.
#include "PanelFixture.h"

#include <gtest/gtest.h>

namespace zentrel::testing {

struct GeneralFixture : PanelFixture {
    template <class Other = void> static PageFactory pages(int otherNumber = 0) {
        return pagesWith<Other>(otherNumber);
    }
    explicit GeneralFixture(sim::SimulatedMatrixHarness::Options options = {},
                            PageFactory pageSet = pages())
        : PanelFixture(std::move(options), std::move(pageSet)) {}

    GeneralPage* page = general;

    // A click as the user makes it: returns once the pop-ups it opened have closed.
    void click(int id) { page->click(id); }
    // The click, its answer in after `ms`, and the record of frames emptied.
    void settle(int id, int ms) {
        click(id);
        advance(ms);
        harness.clearFrames();
    }
};

// The same, as a gtest fixture for cases that need no options.
struct GeneralTest : ::testing::Test, GeneralFixture {};

} // namespace zentrel::testing
