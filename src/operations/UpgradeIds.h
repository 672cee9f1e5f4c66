#pragma once
// Timer identifiers, periods and texts of the firmware upgrade, whoever runs it: the FW Upgrade
// page shows the texts in its notices and Messages box, zentrel-ctl prints them.
#include "session/SessionTexts.h"

namespace zentrel::fw {

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

} // namespace zentrel::fw
