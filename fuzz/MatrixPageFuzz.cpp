// The Matrix page's serial and TCP receive paths while a switch and the refresh that follows
// it run: after the matrix has received the chosen number of units, the fuzzer's bytes arrive
// on the link in use, in reads of the sizes it chose (a read of 1 feeds the page byte by byte).
// The matrix may also ignore the switch once or twice. Whatever happens, the page must end up
// idle with the tabs usable, and neither the switch nor a status query may have gone out more
// than twice (the one repeat).
#include "PanelRig.h"
#include "pages/matrix/MatrixIds.h"
#include "pages/matrix/MatrixPage.h"
#include "protocol/Commands.h"
#include "resources/ControlIds.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

using namespace zentrel;
using namespace zentrel::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2 || size > 2048) {
        return 0;
    }
    const bool tcp = (data[0] & 1) != 0;
    const std::size_t step = (data[0] >> 1) % 4;
    // The matrix may also keep quiet about the switch once (the repeat answers) or twice (the
    // page gives up with "Time out!").
    const int silences = (data[0] >> 3) % 3;
    const std::size_t readSize = data[1] % 32 + 1;
    const std::vector<std::uint8_t> noise(data + 2, data + size);

    PanelRig rig;
    tcp ? rig.connectTcp() : rig.connectCom();
    rig.main->selectPage(kPageMatrix);
    rig.advance(1000);
    rig.harness.clearFrames();
    auto& page = dynamic_cast<MatrixPage&>(rig.main->page(kPageMatrix));

    if (silences > 0) {
        rig.harness.faults().add(sim::FaultRule{
            sim::FaultRule::Kind::Silent,
            sim::FrameMatch::of(cmd::kSwitch.group, cmd::kSwitch.command), silences});
    }
    rig.whenReceived(step, [&] { rig.feedInReads(noise, readSize, tcp); });
    page.click(mtx::inputButton(3, 2)); // input 2 to output 3
    rig.advance(30000);
    // Checked before the refresh below, whose own end would unlock the tabs.
    auto idle = [&] {
        return !rig.app.state().MatrixBusy && page.panelsFree() &&
               !rig.main->progress().isVisible() && rig.main->isEnabled(ctl::kGeneralTab) &&
               rig.main->isEnabled(ctl::kEdidTab) && rig.main->isEnabled(ctl::kFirmwareTab);
    };
    check(idle());
    // Showing the page again reads the routing back, with the noise still arriving.
    rig.main->selectPage(kPageMatrix);
    rig.advance(30000);

    check(idle());
    check(rig.timesSent(cmd::routeInput(2, 3)) <= 2);
    for (int k = 1; k <= ops::kShown; ++k) {
        // One refresh after the switch and one per showing, each query repeated once at most.
        check(rig.timesSent(cmd::queryRouting(k)) <= 6);
    }
    return 0;
}
