#include "UpgradeBar.h"

#include "operations/FirmwareImage.h"

namespace zentrel::cli {

namespace {

constexpr int kBarWidth = 30;

std::string partName(int part) {
    return "Part_" + std::to_string(part);
}

std::string minutes(std::int64_t seconds) {
    char s[48];
    std::snprintf(s, sizeof s, "%lld:%02lld", static_cast<long long>(seconds / 60),
                  static_cast<long long>(seconds % 60));
    return s;
}

} // namespace

std::string UpgradeBar::line(const UpgradeProgress& p, std::int64_t elapsedMs) {
    const std::uint32_t all = p.blocksAll == 0 ? 1 : p.blocksAll;
    const std::uint32_t done = p.blocksDone > all ? all : p.blocksDone;
    const int filled = static_cast<int>(kBarWidth * done / all);
    const std::string bar =
        std::string(static_cast<std::size_t>(filled), '#') + std::string(kBarWidth - filled, '-');
    const double bytes = static_cast<double>(done) * FirmwareImage::kBlockBytes;
    const double rate = elapsedMs > 0 ? bytes * 1000.0 / static_cast<double>(elapsedMs) : 0.0;
    std::string left = "--:--";
    if (rate > 0) {
        const double rest = static_cast<double>(all - done) * FirmwareImage::kBlockBytes;
        left = minutes(static_cast<std::int64_t>(rest / rate + 0.5));
    }
    char s[160];
    std::snprintf(s, sizeof s, "%s [%s] %4u/%-4u blocks %6.1f kB/s  %s left",
                  partName(p.part).c_str(), bar.c_str(), done, all, rate / 1000.0, left.c_str());
    return s;
}

void UpgradeBar::part(const UpgradeProgress& p, std::int64_t nowMs) {
    partStartMs_ = nowMs;
    drawnBlocks_ = UINT32_MAX;
    if (style_ == Style::Lines) {
        std::fprintf(out_, "%s: %u blocks\n", partName(p.part).c_str(), p.blocksAll);
        std::fflush(out_);
    } else if (style_ == Style::Terminal) {
        progress(p, nowMs);
    }
}

void UpgradeBar::progress(const UpgradeProgress& p, std::int64_t nowMs) {
    // A block brings 256 calls; the line is drawn once per block, and at most ten times a
    // second.
    if (style_ != Style::Terminal || p.blocksDone == drawnBlocks_ ||
        (drawnMs_ >= 0 && nowMs - drawnMs_ < 100 && p.blocksDone < p.blocksAll)) {
        return;
    }
    drawnBlocks_ = p.blocksDone;
    drawnMs_ = nowMs;
    std::fprintf(out_, "\r%s\x1b[K", line(p, nowMs - partStartMs_).c_str());
    std::fflush(out_);
    open_ = true;
}

void UpgradeBar::partDone(const UpgradeProgress& p, std::int64_t nowMs) {
    if (style_ == Style::Lines) {
        std::fprintf(out_, "%s: %u of %u blocks sent in %s, rebooting\n", partName(p.part).c_str(),
                     p.blocksDone, p.blocksAll, minutes((nowMs - partStartMs_) / 1000).c_str());
        std::fflush(out_);
        return;
    }
    drawnMs_ = -1;
    progress(p, nowMs);
    end();
}

void UpgradeBar::end() {
    if (open_) {
        std::fputs("\n", out_);
        std::fflush(out_);
        open_ = false;
    }
}

} // namespace zentrel::cli
