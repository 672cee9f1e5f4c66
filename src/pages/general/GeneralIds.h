#pragma once
// Control identifiers, timer identifiers, icons and texts of the General page (dialog 145).
// The parts of the page share them, and tests click and read controls by them.
#include "operations/FactoryReset.h"
#include "operations/MaintenanceCommands.h"
#include "operations/StatusChain.h"
#include "resources/ResourceIds.h"
#include "session/PendingRequest.h"
#include "session/SessionTexts.h"

#include <cstdint>

namespace zentrel::gen {

// --- controls: connection panel -------------------------------------------------------------
constexpr int kModeGroup = 1019;
constexpr int kComRadio = 1013;
constexpr int kTcpRadio = 1014;
constexpr int kComGroup = 1020;
constexpr int kPortLabel = 1022;
constexpr int kPortCombo = 1015;
constexpr int kComConnect = 1126;
constexpr int kComIcon = 1127;
constexpr int kTcpGroup = 1021;
constexpr int kIpLabel = 1177;
constexpr int kIpCombo = 1016;
constexpr int kSearch = 1017;
constexpr int kConfig = 1018;
constexpr int kTcpConnect = 1132;
constexpr int kTcpIcon = 1128;
constexpr int kClosePage = 1011; // hidden

// --- controls: device status and maintenance --------------------------------------------------
constexpr int kStatus = 1025;
constexpr int kStatusRadio = 1180; // hidden, same handler as kStatus
constexpr int kClear = 1046;
constexpr int kDeviceLine = 1026;
constexpr int kVersionLine = 1027;
constexpr int kFirstInputLine = 1188;  // input k: kFirstInputLine + k - 1, k = 1..8
constexpr int kFirstOutputLine = 1198; // output k: kFirstOutputLine + k - 1
constexpr int kPortPanel = 1217;       // the blue band over the port lines
constexpr int kHiddenEdit = 1060;
constexpr int kFactoryReset = 1050;
constexpr int kReboot = 1051;
constexpr int kBeep = 1183;
constexpr int kPower = 1184;
constexpr int kIrControl = 1182; // hidden

// --- controls: the logs, hidden but filled ------------------------------------------------------
constexpr int kReceiveFrame = 1206;
constexpr int kSendFrame = 1207;
constexpr int kReceiveLog = 1044;
constexpr int kSendLog = 1045;
constexpr int kLogClear = 1; // the logs' own "Clear", hidden with them

// Parts of the layout that nothing refers to.
constexpr int kDeviceGroup = 9201;
constexpr int kMaintenanceGroup = 9202;

constexpr int inputLine(int k) {
    return kFirstInputLine + k - 1;
}
constexpr int outputLine(int k) {
    return kFirstOutputLine + k - 1;
}

// --- icons -------------------------------------------------------------------------------------
constexpr int kIconDisconnected = res::kLinkDownIcon;
constexpr int kIconConnected = res::kLinkUpIcon;

// --- timers ------------------------------------------------------------------------------------
// The status chain, the factory reset and the maintenance commands keep their own timers
// (ops::); these are the page's.
constexpr int kStatusConnectCheck = 45;
constexpr int kStatusTcpStart = 46;
constexpr int kConnectCheck = 47;
constexpr int kActivationLinkCheck = 48;
constexpr int kNoticeTimer = 55;
constexpr int kStatusAnimation = 60;
constexpr int kPortRescan = 66;
constexpr int kRescanMs = 500; // the port list is read again this often while the page shows
constexpr int kStatusComStart = 91;

constexpr int kResetAnimation = 100;

// --- texts -------------------------------------------------------------------------------------
constexpr const char* kConnect = "Connect";
constexpr const char* kDisconnect = "Disconnect";
constexpr const char* kNotKnown = "Not Known";
constexpr const char* kRebooting = "Rebooting...";
constexpr const char* kInitializing = "Initializing...";
constexpr const char* kPowerOff = "Power Off!";
constexpr const char* kGettingStatus = "Getting status ";
constexpr const char* kSetting = "Setting ";

} // namespace zentrel::gen
