#pragma once
// Control identifiers, timer identifiers and texts of the FW Upgrade page (dialog 143). The
// parts of the page share them, and tests click and read controls by them.
#include "session/SessionTexts.h"
#include <array>
#include <cstddef>

namespace zentrel::fw {

// The texts and periods every page shares.
using session::kNoCom;
using session::kNoLink;
using session::kNoticeMs;
using session::kStandby;
using session::kStandbyNoticeMs;
using session::kTimeOut;

// --- controls ----------------------------------------------------------------------------------
constexpr int kPath = 1060;       // read-only: the loaded file's path
constexpr int kOpen = 1101;       // picture button: choose and load a file
constexpr int kUpgrade = 1103;    // start the upgrade
constexpr int kMessages = 1104;   // progress and result lines
constexpr int kClear = 1106;      // empties the Messages box
constexpr int kProgress = 1125;   // bytes of the current part copied into blocks
constexpr int kDeviceLine = 1176; // device and version
constexpr int kReceiveLog = 1123; // hidden, filled
constexpr int kSendLog = 1124;    // hidden, filled
// Parts of the layout that nothing refers to: the frames of the logs, their "Clear" button, and
// the group boxes around the file and the messages.
constexpr int kReceiveFrame = 9401;
constexpr int kSendFrame = 9402;
constexpr int kLogClear = 9403;
constexpr int kFileGroup = 9404;
constexpr int kMessagesGroup = 9405;

// The "Merge FW" area of the template: present, never shown (the page offers no merge).
constexpr int kMergeGroup = 1105;
constexpr std::array<int, 30> kMergeArea{
    1105, 1107, 1108, 1109, 1110, 1111, 1112, 1113, 1114, 1115, 1116, 1117, 1118, 1119, 1120,
    1121, 1122, 1196, 1197, 1198, 1199, 1208, 1209, 1210, 1211, 1212, 1213, 1214, 1215, 1216};

// The hidden logs keep their last kLogKeep characters once they pass kLogLimit.
constexpr std::size_t kLogLimit = 4096;
constexpr std::size_t kLogKeep = 2048;

// --- timers ------------------------------------------------------------------------------------
constexpr int kPrepareTimer = 1;    // 200 ms after Part_1 is ready: preparation 1
constexpr int kFirstBlockTimer = 2; // 200 ms: the first block of a part goes out
constexpr int kNextBlockTimer = 3;  // 100 ms: a later block goes out
constexpr int kFirstPollTimer = 4;  // reboot polls 4..10, then 11 gives up
constexpr int kLastPollTimer = 10;
constexpr int kRebootGiveUp = 11;
constexpr int kPart1Start = 15, kPart1StartAgain = 16;
constexpr int kPart2Start = 17, kPart2StartAgain = 18;
constexpr int kPart3Start = 19, kPart3StartAgain = 20;
constexpr int kBlockWait = 33, kBlockWaitAgain = 34;
constexpr int kPrepare2Wait = 36, kPrepare2WaitAgain = 37;
constexpr int kPrepare1Wait = 38, kPrepare1WaitAgain = 39;
constexpr int kFirstBlockWait = 40, kFirstBlockWaitAgain = 41;
constexpr int kNoticeTimer = 55;
// The standby announcement stops every timer in this range.
constexpr int kFirstPageTimer = 1;
constexpr int kLastPageTimer = 79;

// --- periods (ms) ------------------------------------------------------------------------------
constexpr int kPrepareDelayMs = 200;
constexpr int kFirstBlockDelayMs = 200;
constexpr int kNextBlockDelayMs = 100;
constexpr int kStartWaitMs = 3000;
constexpr int kPrepare1WaitMs = 3000;
constexpr int kPrepare2WaitMs = 4000;
constexpr int kBlockWaitMs = 7000;
constexpr int kBlockWaitAgainMs = 8000;
constexpr int kPollMs = 3000;

// --- texts -------------------------------------------------------------------------------------
// The file dialog's filter: shown name and pattern pairs, each ended by '|'.
constexpr const char* kFileFilter = "Binary file(*.fw)|*.fw||";
constexpr const char* kOpenTip = "Open";
constexpr const char* kOpenName = "Open firmware file";
constexpr const char* kAppTitle = "Zentrel";

// Notices.
constexpr const char* kUpgradeFailed = "Upgrade failed!";
constexpr const char* kPart1WriteFailedNotice = "Write to Part_1.1.0.0 failed!";
constexpr const char* kFileTooLarge = "Firmware file is larger than 200000 bytes!";
constexpr const char* kFileUnreadable = "Cannot read the firmware file!";
// The message box of a Part_2 write failure.
constexpr const char* kPart2WriteFailedBox = "Write to Part_2.1.0.0 failed";

// Lines of the Messages box.
constexpr const char* kUpgradingPart1 = "Upgrading Part_1.1.0.0...\r\n";
constexpr const char* kUpgradingPart2 = "Upgrading Part_2.1.0.0...\r\n";
constexpr const char* kRebooting = "System rebooting,Please wait...\r\n";
constexpr const char* kPart2Complete = "Part_2.1.0.0 upgrading complete\r\n";
constexpr const char* kRebootOk = "System reboot ok\r\n";
constexpr const char* kPart1Complete = "Part_1.1.0.0 upgrading complete\r\n";
constexpr const char* kSuccess = "Firmware upgrade Successfully\r\n";
constexpr const char* kPart1WriteFailed = "Write to Part_1.1.0.0 failed\r\n";
constexpr const char* kPart1Failed = "Upgrading Part_1.1.0.0 failed\r\n";
constexpr const char* kPart2Failed = "Upgrading Part_2.1.0.0 failed\r\n";
constexpr const char* kPart2WriteFailed = "Write to Part_2.1.0.0 failed\r\n";

// The device line.
constexpr const char* kDevicePrefix = "Device: ";
constexpr const char* kVersionGap = "          "; // ten blanks
constexpr const char* kVersionPrefix = "Version: ";

} // namespace zentrel::fw
