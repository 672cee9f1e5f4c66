#pragma once
// The EDID conversations' sizes, timer ids and periods (the EDID page's own ids, whoever runs
// them), and the targets a change is aimed at.
#include "session/SessionTexts.h"

#include <array>

namespace zentrel::edid {

using session::kNoLink;
using session::kReplyWaitMs;
using session::kTimeOut;

// The protocol carries eight inputs and eight outputs; a unit has four or eight of each (the
// link's MatrixSize). The target position equal to the unit's number of inputs is "All Inputs".
constexpr int kMaxInputs = 8;

// The exchange that runs: a reply or a grant counts for the one the host says runs.
enum class Operation { None = 0, SetMode = 1, Copy = 2, Download = 3, Refresh = 4, Status = 5 };

// The choice that sets the default EDID instead of a built-in one.
constexpr int kDefaultChoice = 15;

// What a change is aimed at, as positions: choice 0..15, inputs from 0 (the unit's number of
// inputs for all of them), outputs from 0. Read when a request goes out and when its answer comes.
struct EdidTargets {
    int choice = 0;
    int modeTarget = 0;
    int copySource = 0;
    int copyTarget = 0;
    int downloadTarget = 0;
};

// --- timers ------------------------------------------------------------------------------------
// Each request: first wait (a repeat follows), then the give-up.
constexpr int kBlockDelayTimer = 2;
constexpr int kBlockTimer = 3;
constexpr int kAccessTimer = 5;
constexpr int kAccessGiveUp = 6;
constexpr int kDefaultAllTimer = 11;
constexpr int kDefaultAllGiveUp = 12;
constexpr int kBuiltInAllTimer = 13;
constexpr int kBuiltInAllGiveUp = 14;
constexpr int kDefaultOneTimer = 19;
constexpr int kDefaultOneGiveUp = 20;
constexpr int kBuiltInOneTimer = 21;
constexpr int kBuiltInOneGiveUp = 22;
constexpr int kCopyAllTimer = 23;
constexpr int kCopyAllGiveUp = 24;
constexpr int kCopyOneTimer = 25;
constexpr int kCopyOneGiveUp = 26;
constexpr int kDownloadOneTimer = 27;
constexpr int kDownloadOneGiveUp = 28;
constexpr int kDownloadAllTimer = 29;
constexpr int kDownloadAllGiveUp = 30;
constexpr int kOutputCheckTimer = 58;
// Status query of input k: repeat timer, then its give-up.
constexpr std::array<int, kMaxInputs> kStatusTimers{70, 72, 74, 76, 78, 80, 82, 84};
constexpr std::array<int, kMaxInputs> kStatusGiveUps{71, 73, 75, 77, 79, 81, 83, 85};

// --- periods (ms) ------------------------------------------------------------------------------
constexpr int kBlockDelayMs = 200;

} // namespace zentrel::edid
