#pragma once
// How zentrel-ctl shows an upgrade on standard error: on a terminal one line redrawn in place
// (part, a bar of blocks done of all, bytes per second, time left); elsewhere one line per part,
// so a log file gets the story without the redraws. --quiet shows nothing but errors.
#include "operations/UpgradeListener.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace zentrel::cli {

class UpgradeBar {
public:
    enum class Style { Terminal, Lines, Quiet };

    UpgradeBar(std::FILE* out, Style style) : out_(out), style_(style) {}

    void part(const UpgradeProgress& p, std::int64_t nowMs);
    void progress(const UpgradeProgress& p, std::int64_t nowMs);
    // The part's blocks are all through: the last redraw, then the next line starts clean.
    void partDone(const UpgradeProgress& p, std::int64_t nowMs);

    // The upgrade ended: a redrawn line still open is ended, so what follows starts clean.
    void end();

    // The redrawn line for `p`, `elapsedMs` after the part started.
    static std::string line(const UpgradeProgress& p, std::int64_t elapsedMs);

private:
    std::FILE* out_;
    Style style_;
    std::int64_t partStartMs_ = 0;
    std::int64_t drawnMs_ = -1;
    std::uint32_t drawnBlocks_ = UINT32_MAX;
    bool open_ = false; // a redrawn line waits for its end
};

} // namespace zentrel::cli
