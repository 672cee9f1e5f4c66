#pragma once
// The texts and periods every conversation with the matrix shares, whichever page or tool holds
// it: the notices of a missing link, a silent or sleeping matrix, and the waits around them.
#include "platform/SerialLink.h"

namespace zentrel::session {

// --- periods (ms) ------------------------------------------------------------------------------
// The first wait for a reply, and the wait after its one repeat.
constexpr int kReplyWaitMs = 5000;
constexpr int kNoticeMs = 1500;
constexpr int kStandbyNoticeMs = 2500;
constexpr int kAnimationMs = 500;
// A TCP connect is checked this often, and given this long before it counts as failed.
constexpr int kConnectCheckMs = 100;
constexpr int kConnectPatienceMs = 3000;

// The General and the Matrix page keep their request timers in this range, so the standby
// announcement can stop them all at once.
constexpr int kFirstRequestTimer = 1;
constexpr int kLastRequestTimer = 79;

// --- the line: 115200 baud, no parity, 8 data bits, 2 stop bits ---------------------------------
constexpr SerialSettings kLine{115200, 'N', 8, 2, 3, 512};

// --- texts -------------------------------------------------------------------------------------
constexpr const char* kNoLink = "Connect to Matrix failed!";
constexpr const char* kNoCom = "Open COM failed!";
constexpr const char* kTimeOut = "Time out!";
constexpr const char* kStandby = "Matrix is in standby mode!";
// A setting the matrix confirmed, on the General and the EDID page alike.
constexpr const char* kSetOk = "Set successfully!";
// What a second request hears while the first one still waits.
constexpr const char* kPleaseWait = "Please wait...";

} // namespace zentrel::session
