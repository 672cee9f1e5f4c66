#pragma once
// What the switch engine and the status refresh show on the Matrix page: the grid's box, button
// and source for every confirmed or read-back routing, "Please wait . . ." while a wait is in its
// second round, and "Time out!" when one gives up. The refresh starts here, once the link of the
// current mode is there.
#include "operations/StatusRefresh.h"
#include "operations/SwitchEngine.h"

namespace zentrel {

class MatrixPage;

class MatrixRouting : public SwitchListener, public RefreshListener {
public:
    explicit MatrixRouting(MatrixPage& page) : page_(page) {}

    // The page's activation, 150 ms after the Matrix tab was chosen.
    void startRefresh();

    // --- SwitchListener and RefreshListener -----------------------------------------------------
    void onWaiting() override;
    void onAcknowledged() override;
    void onRouted(int k, int input) override;
    void onRefused(int /*k*/) override {} // the page waits on, as for silence
    void onSwitchTimedOut() override { timedOut(); }
    void onRoutingRead(int k, std::uint8_t input, bool serial) override;
    void onRefreshDone() override {}
    void onRefreshTimedOut() override { timedOut(); }

private:
    void timedOut();

    MatrixPage& page_;
};

} // namespace zentrel
