// The EDID page's serial and TCP receive paths while Set EDID Mode runs: after the matrix has
// received the chosen number of units, the fuzzer's bytes arrive on the link in use, in reads
// of the sizes it chose. Whatever they say, the page must end up idle with the tabs usable and
// must not have sent its access request or its EDID command more than twice.
#include "PanelRig.h"
#include "pages/edid/EdidIds.h"
#include "pages/edid/EdidPage.h"
#include "protocol/Commands.h"

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
    const std::size_t readSize = data[1] % 32 + 1;
    const std::vector<std::uint8_t> noise(data + 2, data + size);

    PanelRig rig;
    tcp ? rig.connectTcp() : rig.connectCom();
    rig.main->selectPage(kPageEdid);
    rig.advance(1000);
    rig.harness.clearFrames();
    auto& page = dynamic_cast<EdidPage&>(rig.main->page(kPageEdid));

    rig.whenReceived(step, [&] { rig.feedInReads(noise, readSize, tcp); });
    page.click(edid::kModeSet); // built-in EDID 1 on input 1
    rig.advance(30000);

    check(!page.busy());
    check(!rig.main->progress().isVisible());
    check(rig.main->isEnabled(1000) && rig.main->isEnabled(1001) && rig.main->isEnabled(1003));
    check(rig.timesSent(cmd::edidAccess()) <= 2);
    check(rig.timesSent(cmd::builtInEdid(1, 1)) <= 2);
    return 0;
}
