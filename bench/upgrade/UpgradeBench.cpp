// A whole upgrade of a 200,000-byte Part_1 image by the real panel (Qt event loop, the page's
// widgets, the serial channel on the loop) against the zentrel-matrix-sim program, once over
// loopback TCP and once over a pseudo-terminal the simulator paces at 115200 baud 8N2. Beside
// each run, the protocol's floor for the same image: per block the 100 ms gap, the wire time of
// the block and its acknowledgement, and the simulator's reply time; before the first block
// the start, the two preparations and their 200 ms waits. Printed as a ratio, with the panel's
// CPU time over the transfer (from Upgrade to the completion reply).
//
//   zentrel-bench-upgrade [IMAGE_BYTES]     (default 200000)
#include "SimProcess.h"
#include "StubPage.h"
#include "app/MainWindow.h"
#include "link/ControlSocket.h"
#include "link/SerialChannelPorts.h"
#include "operations/FirmwareImage.h"
#include "pages/firmware/FirmwareIds.h"
#include "pages/firmware/FirmwarePage.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtNetwork.h"
#include "view/QtUiServices.h"
#include "view/QtWindowHost.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QTimer>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

using namespace zentrel;

namespace {

constexpr std::uint16_t kTcpPort = 8025;
constexpr int kCom = 3;
constexpr double kLatencyMs = 5;    // the simulator's reply time (its default)
constexpr double kBitsPerByte = 11; // 8N2 with the start bit
constexpr double kBaud = 115200;

double wireMs(std::size_t bytes) {
    return static_cast<double>(bytes) * kBitsPerByte * 1000.0 / kBaud;
}

double cpuMs() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(u.ru_utime) + ms(u.ru_stime);
}

class FileUi : public QtUiServices {
public:
    std::optional<std::string> openFile(const std::string&) override { return path; }
    std::string path;
};

// How many blocks a Part_1 image of `length` bytes goes out in: blocks 0..N1, less the 15 the
// bank change after block 240 skips.
std::size_t blocksOf(std::size_t length) {
    const std::size_t n1 = (length - 2) / 256;
    return n1 >= 256 ? n1 + 1 - 15 : n1 + 1;
}

// From the simulator's log ("  12.345 in  TCP1  <hex>  firmware block", then the answer's
// "out" line): each block's reply time in ms.
std::vector<double> blockReplyTimes(const std::string& log) {
    std::vector<double> out;
    std::istringstream lines(log);
    double blockAt = -1;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        double seconds = 0;
        std::string direction;
        if (!(words >> seconds >> direction)) {
            continue;
        }
        const bool isBlock =
            line.size() >= 14 && line.compare(line.size() - 14, 14, "firmware block") == 0;
        if (direction == "in" && isBlock) {
            blockAt = seconds;
        } else if (direction == "out" && blockAt >= 0) {
            out.push_back((seconds - blockAt) * 1000.0);
            blockAt = -1;
        }
    }
    return out;
}

struct Result {
    std::size_t blocks = 0;
    double wallMs = 0;
    double floorMs = 0;
    double cpuMs = 0;
    bool ok = false;
};

Result runOnce(bool tcp, const std::string& file, std::size_t length) {
    Result r;
    sim::test::SimProcess sim{{"--com", std::to_string(kCom), "--tcp",
                               "127.0.0.1:" + std::to_string(kTcpPort), "--upgrade-reboot-ms",
                               "500"}};
    if (!sim.waitFor("listening on TCP") || (!tcp && !sim.waitFor("published as"))) {
        std::fprintf(stderr, "simulator did not start:\n%s%s\n", sim.log().c_str(),
                     sim.errors().c_str());
        return r;
    }
    setenv("XDG_RUNTIME_DIR", sim.portLink(kCom).parent_path().parent_path().parent_path().c_str(),
           1);

    QtEventLoop loop;
    QtNetwork network{loop};
    SerialChannelPorts serial{loop};
    FileUi ui;
    ui.path = file;
    // The page's widgets take part (the progress bar moves 256 times a block), unless asked
    // to leave them out to see what they cost.
    std::optional<QtWindowHost> host;
    if (std::getenv("ZENTREL_BENCH_NO_VIEW") == nullptr) {
        host.emplace(loop, ui);
        ui.setHost(&*host);
    }
    Platform platform{loop, network, serial, ui};
    SharedState state;
    ControlSocket socket(network, state, kTcpPort);
    socket.create();
    PageFactory factory = [](int number, PageContext& ctx) -> std::unique_ptr<Page> {
        if (number == kPageFirmware) {
            return std::make_unique<FirmwarePage>(ctx);
        }
        return std::make_unique<StubPage>(number, ctx);
    };
    MainWindow main(platform, state, socket, factory, Rect{0, 0, 1280, 800});
    loop.setMainWindow(&main);
    main.open();
    // The link as the General page leaves it.
    if (tcp) {
        state.ControlMode = kModeTcp;
        state.MatrixIp = "127.0.0.1";
        state.ShownConnected = 1;
    } else {
        state.ComPortOpen = 1;
        state.SharedPort = kCom;
    }
    main.selectPage(kPageFirmware);
    auto& page = dynamic_cast<FirmwarePage&>(main.page(kPageFirmware));
    // Sleeps in the event loop until an event comes: the panel's own timers and the link wake
    // it, so the check costs nothing between them.
    QTimer tick;
    tick.start(250);
    auto runUntil = [&](auto done, int ms) {
        for (const QDeadlineTimer wait(ms); !done() && !wait.hasExpired();) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        return done();
    };
    if (!runUntil([&] { return !page.text(fw::kDeviceLine).empty(); }, 5000)) {
        std::fprintf(stderr, "no device line over %s\n%s\n", tcp ? "TCP" : "the pty",
                     sim.log().c_str());
        return r;
    }
    page.click(fw::kOpen);

    const double cpu0 = cpuMs();
    const auto t0 = std::chrono::steady_clock::now();
    page.click(fw::kUpgrade);
    const bool completed = runUntil(
        [&] {
            return !state.UpgradeRunning ||
                   page.text(fw::kMessages).find("System rebooting") != std::string::npos;
        },
        600'000);
    r.wallMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    r.cpuMs = cpuMs() - cpu0;
    r.ok = completed && runUntil([&] { return !state.UpgradeRunning; }, 30'000) &&
           page.text(fw::kMessages).find("Successfully") != std::string::npos;
    if (!r.ok) {
        std::fprintf(stderr, "the upgrade did not succeed over %s (notice '%s'):\n%s\n",
                     tcp ? "TCP" : "the pty", state.NoticeText.c_str(),
                     page.text(fw::kMessages).c_str());
    }

    // The floor. The simulator's reply time to each block is read from its log (the time from
    // a block's arrival to its answer leaving), so the floor holds only what the protocol and
    // the simulator take, and the ratio shows what the panel adds.
    const double frame = tcp ? 0 : wireMs(13);
    const double block = tcp ? 0 : wireMs(257);
    const std::vector<double> replies = blockReplyTimes(sim.log());
    double replySum = 0;
    for (const double ms : replies) {
        replySum += ms;
    }
    const double exchange = frame + kLatencyMs + frame;
    // Start, 200 ms, preparation 1, preparation 2 (whose answer sends the first header), then
    // the first block 200 ms later; every later block 100 ms after the previous answer.
    r.floorMs = exchange + 200 + exchange + exchange + frame + 200 +
                static_cast<double>(replies.size()) * block + replySum +
                static_cast<double>(replies.size() - 1) * 100;
    r.blocks = replies.size();
    if (r.blocks != blocksOf(length)) {
        std::fprintf(stderr, "%zu blocks answered where %zu were to go\n", r.blocks,
                     blocksOf(length));
        r.ok = false;
    }
    if (std::getenv("ZENTREL_BENCH_SIM_LOG") != nullptr) {
        std::fprintf(stderr, "%s", sim.log().c_str());
    }
    loop.setMainWindow(nullptr);
    return r;
}

} // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication qt(argc, argv);
    const std::size_t length =
        argc > 1 ? static_cast<std::size_t>(std::stoul(argv[1])) : FirmwareImage::kCapacity;

    std::vector<std::uint8_t> plain(length);
    for (std::size_t i = 0; i < length; ++i) {
        plain[i] = static_cast<std::uint8_t>((i * 131 + i / 256) % 0xA0);
    }
    plain[0] = 0xA5;
    plain[1] = 0x5A;
    FirmwareImage::descramble(plain);
    const auto file = std::filesystem::temp_directory_path() / "zentrel-bench-upgrade.fw";
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(plain.data()),
               static_cast<std::streamsize>(plain.size()));

    std::printf("upgrade of a %zu-byte Part_1 image, %zu blocks to send\n", length,
                blocksOf(length));
    std::printf("%-22s %10s %10s %8s %10s %8s\n", "link", "wall ms", "floor ms", "ratio",
                "panel cpu", "of core");
    int failures = 0;
    const char* only = std::getenv("ZENTREL_BENCH_LINK"); // "tcp" or "pty": one run only
    for (const bool tcp : {true, false}) {
        if (only != nullptr && std::string(only) != (tcp ? "tcp" : "pty")) {
            continue;
        }
        const Result r = runOnce(tcp, file.string(), length);
        failures += r.ok ? 0 : 1;
        std::printf("%-22s %10.0f %10.0f %8.4f %8.0f ms %7.2f%%   (%zu blocks answered)\n",
                    tcp ? "TCP loopback" : "pty 115200 8N2", r.wallMs, r.floorMs,
                    r.wallMs / r.floorMs, r.cpuMs, 100.0 * r.cpuMs / r.wallMs, r.blocks);
    }
    std::filesystem::remove(file);
    return failures == 0 ? 0 : 1;
}
