#pragma once
// The real application on the virtual clock with the FW Upgrade page in front of a simulated
// matrix, reached over COM3 (connected on the General page first, as a user does) or over TCP.
// Files are written to a fresh directory and chosen through a scripted open-file dialog.
#include "pages/firmware/FirmwareIds.h"
#include "operations/FirmwareImage.h"
#include "pages/firmware/FirmwarePage.h"
#include "unit/pages/general/GeneralFixture.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace zentrel::testing {

using Bytes = std::vector<std::uint8_t>;

// A firmware's content as the page works on it: `marker` then `size - 2` bytes of a pattern
// that holds no marker (every byte below A2).
inline Bytes content(std::size_t size, std::uint8_t m0 = 0xA5, std::uint8_t m1 = 0x5A,
                     std::uint8_t seed = 1) {
    Bytes b(size);
    for (std::size_t i = 0; i < size; ++i) {
        b[i] = static_cast<std::uint8_t>((i * 7 + seed) % 0xA0);
    }
    if (size >= 2) {
        b[0] = m0;
        b[1] = m1;
    }
    return b;
}
// The file that holds `plain`: scrambling is the same XOR as de-scrambling.
inline Bytes scrambled(Bytes plain) {
    FirmwareImage::descramble(plain);
    return plain;
}
// The 257 bytes a block carries: checksum, then 256 bytes of `plain` from `start` (zeros past
// its end), as hex.
inline std::string blockHex(const Bytes& plain, std::size_t start) {
    std::vector<std::uint8_t> block(257, 0);
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < 256; ++i) {
        block[i + 1] = start + i < plain.size() ? plain[start + i] : 0;
        sum = static_cast<std::uint8_t>(sum + block[i + 1]);
    }
    block[0] = static_cast<std::uint8_t>(0 - sum);
    return sim::hexBytes(block);
}

// What the matrix assembles of `blocks` blocks of `plain` from `start`: zeros past its end.
inline Bytes imagePart(const Bytes& plain, std::size_t start, std::size_t blocks) {
    Bytes out(blocks * 256, 0);
    for (std::size_t i = 0; i < out.size() && start + i < plain.size(); ++i) {
        out[i] = plain[start + i];
    }
    return out;
}

struct FirmwareFixture {
    explicit FirmwareFixture(sim::SimulatedMatrixHarness::Options options = {})
        : harness(std::move(options)) {
        harness.loop().setObserver(&popups);
        app.start();
        main = app.mainWindow();
        main->open();
        general = &dynamic_cast<GeneralPage&>(main->page(kPageGeneral));
        dir = std::filesystem::temp_directory_path() /
              ("zentrel-fw-" + std::to_string(::getpid()) + "-" +
               std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        std::filesystem::create_directories(dir);
    }
    ~FirmwareFixture() {
        harness.loop().setObserver(nullptr);
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }

    sim::SimulatedMatrixHarness harness;
    FakeUiServices ui;
    Platform platform{harness.loop(), harness.network(), harness.serialPorts(), ui};
    ControllerApp app{platform, AppOptions{Rect{0, 0, 1280, 800},
                                           GeneralFixture::pages<FirmwarePage>(kPageFirmware)}};
    PopupRecorder popups{harness.loop()};
    MainWindow* main = nullptr;
    GeneralPage* general = nullptr;
    FirmwarePage* page = nullptr;
    std::filesystem::path dir;

    SharedState& state() { return app.state(); }
    std::int64_t now() { return harness.loop().nowMs(); }
    void advance(std::int64_t ms) { harness.advance(ms); }
    Names sent() const { return harness.toMatrix(); }
    void onFault(sim::FaultRule rule) { harness.faults().add(std::move(rule)); }
    sim::MatrixModel& matrix() { return harness.matrix(); }

    // The FW Upgrade tab chosen and activated, its device line answered, frames cleared.
    void showPage() {
        main->selectPage(kPageFirmware);
        page = &dynamic_cast<FirmwarePage&>(main->page(kPageFirmware));
        advance(500);
        harness.clearFrames();
    }
    void overCom() {
        general->click(gen::kComConnect);
        advance(100);
        showPage();
    }
    void overTcp() {
        general->click(gen::kTcpRadio);
        general->click(gen::kSearch);
        advance(50);
        general->click(gen::kTcpConnect);
        advance(200);
        showPage();
    }

    std::string writeFile(const std::string& name, const Bytes& bytes) {
        const std::filesystem::path p = dir / name;
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return p.string();
    }
    // Open, with the dialog answering `path`.
    void open(const std::string& path) {
        ui.answers.push_back(path);
        page->click(fw::kOpen);
    }
    // Writes the file holding `plain` (scrambled) and opens it.
    void load(const Bytes& plain, const std::string& name = "image.fw") {
        open(writeFile(name, scrambled(plain)));
    }
    void upgrade() { page->click(fw::kUpgrade); }
    // Runs the clock until the upgrade has ended, at most `limitMs`.
    void runUpgrade(std::int64_t limitMs = 600'000) {
        const std::int64_t end = now() + limitMs;
        while (state().UpgradeRunning && now() < end) {
            advance(100);
        }
    }

    // The Messages box, one entry per line (without the line break).
    Names lines() const {
        Names out;
        const std::string text = page->text(fw::kMessages);
        std::size_t start = 0;
        for (std::size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2) {
            out.push_back(text.substr(start, at - start));
        }
        return out;
    }
    // Only the frames (13 bytes) the page sent, as hex.
    Names sentFrames() const {
        Names out;
        for (const std::string& h : sent()) {
            if (h.size() == 13 * 3 - 1) {
                out.push_back(h);
            }
        }
        return out;
    }
    // The sent units with their times: "MS hex".
    Names timedToMatrix() {
        Names out;
        for (const sim::FrameRecord& r : harness.frames().all()) {
            if (r.direction == sim::FrameRecord::Direction::ToMatrix) {
                out.push_back(std::to_string(r.atMs) + " " + r.hex);
            }
        }
        return out;
    }
};

struct FirmwareTest : ::testing::Test, FirmwareFixture {};

// Frames from bytes 2.. as in the frame list of the General tests.
inline std::string frame(const std::string& bytesFrom2) {
    return frames(bytesFrom2).front();
}

} // namespace zentrel::testing
