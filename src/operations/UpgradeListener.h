#pragma once
// What a firmware upgrade tells whoever runs it: the FW Upgrade page moves its bar and fills
// its Messages box; zentrel-ctl draws a progress line and chooses its exit status. The calls
// come in the order the page has always shown them.
#include <cstddef>
#include <cstdint>

namespace zentrel {

struct UpgradeProgress {
    int part = 0;                 // 1..4
    std::uint32_t blocksDone = 0; // blocks of the part sent before the one now prepared
    std::uint32_t blocksAll = 0;
    // The bar: the part's image bytes copied into blocks, held at its end, so a finished part
    // shows a full bar. Parts 1 and 2 move it; Part 3 leaves it where Part_2 left it.
    int barPosition = 0;
    int barEnd = 0;
    bool onBar = false;
};

// How the upgrade ended, for a host that must say it in a status (the page shows it all in
// notices and lines already).
enum class UpgradeEnd { Success, Failed, TimedOut, NoLink, Standby };

class UpgradeListener {
public:
    virtual ~UpgradeListener() = default;
    // A part's start went out; parts 1 and 2 set the bar's range to 0..barEnd.
    virtual void upgradePart(const UpgradeProgress& progress) = 0;
    // A block was prepared, or the bar goes back to 0 after the last part.
    virtual void upgradeProgress(const UpgradeProgress& progress) = 0;
    // A line of the Messages box, "\r\n" included.
    virtual void upgradeLine(const char* line) = 0;
    // A notice; `evenOverOne` shows it also when another notice is showing.
    virtual void upgradeNotice(const char* text, bool evenOverOne) = 0;
    // A message box the user must close (a Part_2 write failure).
    virtual void upgradeBox(const char* text) = 0;
    // Upgrade and Open go together: a file is never replaced under a running transfer.
    virtual void upgradeControls(bool enabled) = 0;
    virtual void upgradeEnded(UpgradeEnd end) = 0;
};

} // namespace zentrel
