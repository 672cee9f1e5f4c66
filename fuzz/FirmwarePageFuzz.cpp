// The FW Upgrade page over arbitrary images and arbitrary matrix answers, on either link. The
// fuzzer writes the image (the target scrambles it into a file the page opens), and a list of
// events: after the matrix has received so many more units, a firmware answer of its choice
// (ready, write failure, acknowledgement with any mark and id, completion, reboot report) or
// raw bytes arrive on the link, besides what the simulated matrix answers itself.
//
// Properties: every block the page prepares starts inside the image it loaded (at most at its
// end, for the padding-only last block), so no part is ever sent from beyond the file; a
// success comes only after every part the page started went out to its last block (a reboot
// report in the middle of a part, or a doubled acknowledgement, never ends one early); and the
// upgrade ends with the tabs usable.
#include "PanelRig.h"
#include "pages/firmware/FirmwareIds.h"
#include "pages/firmware/FirmwarePage.h"
#include "protocol/Commands.h"
#include "resources/ControlIds.h"

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

using namespace zentrel;
using namespace zentrel::fuzzing;

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::size_t kEventSize = 4;

// Event: [units to wait for, 0..7] [kind] [a] [b].
Bytes eventBytes(const std::uint8_t* e) {
    const int part = e[1] % 3 + 1;
    const std::uint8_t statuses[] = {cmd::kFirmwareReady, cmd::kFirmwareWriteFailed,
                                     cmd::kFirmwareDone, cmd::kFirmwareLast};
    const std::uint8_t marks[] = {cmd::kFirmwareMark, cmd::kFirmwareBankMark, e[2], 0x00};
    CommandFrame f;
    switch ((e[1] >> 2) % 6) {
    case 0:
        f = cmd::firmwareAnswer(part, statuses[e[2] % 4]).put(7, e[3] & 1);
        break;
    case 1:
        f = cmd::firmwareBlockAck(part, marks[e[2] % 4], e[3]);
        break;
    case 2:
        f = cmd::firmwarePartComplete(part);
        break;
    case 3: // the reboot report
        f = CommandFrame::make({0x01, 0x01, 0x01, 0x00});
        break;
    default:
        return Bytes{e[1], e[2], e[3]}; // stray bytes
    }
    return Bytes(f.bytes.begin(), f.bytes.end());
}

std::string imageFile(Bytes plain) {
    FirmwareImage::descramble(plain); // scrambling is the same XOR
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("zentrel-fuzz-" + std::to_string(::getpid()) + ".fw"))
                                 .string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(plain.data()),
               static_cast<std::streamsize>(plain.size()));
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3 || size > 8192) {
        return 0;
    }
    const bool tcp = (data[0] & 1) != 0;
    // The image: a marker the fuzzer may choose, then its bytes, zero-padded to its length.
    const std::size_t length = (data[1] << 8 | data[2]) % 4096;
    Bytes plain(length, 0);
    const std::size_t given = std::min(length, size - 3);
    std::copy_n(data + 3, given, plain.begin());
    const std::uint8_t markers[][2] = {{0, 0}, {0xA5, 0x5A}, {0xA4, 0x5B}, {0xA2, 0x5D}};
    const auto* marker = markers[(data[0] >> 1) % 4];
    if (length >= 2 && marker[0] != 0) {
        plain[0] = marker[0];
        plain[1] = marker[1];
    }
    const std::string path = imageFile(plain);

    PanelRig rig;
    tcp ? rig.connectTcp() : rig.connectCom();
    rig.ui.answers.push_back(path);
    rig.main->selectPage(kPageFirmware);
    rig.advance(500);
    auto& page = dynamic_cast<FirmwarePage&>(rig.main->page(kPageFirmware));
    page.click(fw::kOpen);
    check(page.image().length() == length);
    rig.harness.clearFrames();

    // Events wait in order; one poller counts what the matrix received, every millisecond.
    struct Event {
        std::size_t units;
        Bytes bytes;
    };
    std::vector<Event> events;
    std::size_t units = 0;
    for (std::size_t at = 3 + given; at + kEventSize <= size; at += kEventSize) {
        units += data[at] % 8;
        events.push_back({units, eventBytes(data + at)});
    }
    std::size_t next = 0;
    std::size_t seen = 0;
    std::size_t received = 0;
    // A part is open from its start command until its last-block header has gone out.
    bool partOpen = false;
    bool partClosed = false;
    auto watchPart = [&](const std::string& hex) {
        if (hex.size() != 13 * 3 - 1 || hex.compare(0, 8, "A5 5B 20") != 0) {
            return;
        }
        const std::string part = hex.substr(9, 2);
        const std::string what = hex.substr(12, 2);
        if ((part == "01" || part == "02") && what == "01") {
            partOpen = true;
        } else if (part == "02" && what == "03") {
            partOpen = true;
        } else if (what == "56") {
            partOpen = false;
            partClosed = true;
        }
    };
    // Blocks are prepared in reply handlers and sent 100 or 200 ms later, so a check every
    // millisecond sees each one.
    bool inside = true;
    std::function<void()> tick = [&] {
        inside = inside && page.transfer().blockStart() <= page.image().length();
        const auto& records = rig.harness.frames().all();
        for (; seen < records.size(); ++seen) {
            if (records[seen].direction == sim::FrameRecord::Direction::ToMatrix) {
                ++received;
                watchPart(records[seen].hex);
            }
        }
        for (; next < events.size() && events[next].units <= received; ++next) {
            const Bytes& bytes = events[next].bytes;
            tcp ? rig.harness.sendTcpBytes(bytes) : rig.harness.serialPorts().sendToPanel(3, bytes);
        }
        if (next < events.size() || rig.app.state().UpgradeRunning) {
            rig.harness.loop().schedule(1, tick);
        }
    };
    rig.harness.loop().schedule(1, tick);
    page.click(fw::kUpgrade); // returns once a notice it shows has closed
    rig.advance(120000);
    check(inside);
    if (page.text(fw::kMessages).find("Firmware upgrade Successfully") != std::string::npos) {
        check(partClosed && !partOpen);
    }

    check(!rig.app.state().UpgradeRunning);
    check(rig.main->isEnabled(ctl::kGeneralTab) && rig.main->isEnabled(ctl::kMatrixTab));
    std::filesystem::remove(path);
    return 0;
}
