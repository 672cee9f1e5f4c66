#pragma once
// The shared panel fixture with the FW Upgrade page under test, reached over COM3 (connected on
// the General page first, as a user does) or over TCP. Files are written to a fresh folder and
// chosen through a scripted open-file dialog.
#include "FileFolder.h"
#include "PanelFixture.h"
#include "operations/FirmwareImage.h"
#include "pages/firmware/FirmwareIds.h"
#include "pages/firmware/FirmwarePage.h"

#include <filesystem>

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

struct FirmwareFixture : PanelFixture {
    explicit FirmwareFixture(sim::SimulatedMatrixHarness::Options options = {})
        : PanelFixture(std::move(options), pagesWith<FirmwarePage>(kPageFirmware)) {}

    FirmwarePage* page = nullptr;
    FileFolder files;
    const std::filesystem::path& dir = files.dir();

    // The FW Upgrade tab chosen and activated, its device line answered, frames cleared.
    void showPage() {
        main->selectPage(kPageFirmware);
        page = &dynamic_cast<FirmwarePage&>(main->page(kPageFirmware));
        advance(500);
        harness.clearFrames();
    }
    void overCom() {
        connectCom();
        showPage();
    }
    void overTcp() {
        connectTcp();
        showPage();
    }
    std::string writeFile(const std::string& name, const Bytes& bytes) {
        return files.write(name, bytes);
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
