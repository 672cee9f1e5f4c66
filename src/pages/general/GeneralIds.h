#pragma once
// Control identifiers, timer identifiers, icons and texts of the General page (dialog 145).
// The parts of the page share them, and tests click and read controls by them.
#include "resources/ResourceIds.h"
#include "session/PendingRequest.h"
#include "session/SessionTexts.h"

#include <cstdint>

namespace zentrel::gen {

// The texts and periods every page shares.
using session::kAnimationMs;
using session::kNoCom;
using session::kNoLink;
using session::kReplyWaitMs;
using session::kStandby;
using session::kTimeOut;

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

constexpr int kMaxPorts = 8;
constexpr int kChainPorts = 4; // the status chain ends after this output

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
// Status chain: each query waits on its first timer, is repeated once, and gives up on its
// second. The device type is never asked by the page; its timers are only stopped.
constexpr int kDeviceTypeTimer = 1;
constexpr int kDeviceTypeGiveUp = 2;
constexpr RequestTimers kModelWait{3, 5000, 4, 5000};
constexpr RequestTimers kVersionWait{5, 5000, 6, 5000};
constexpr RequestTimers kInputWaits[] = {
    {7, 5000, 8, 5000},   {11, 5000, 12, 5000}, {15, 5000, 16, 5000}, {19, 5000, 20, 5000},
    {23, 5000, 24, 5000}, {27, 5000, 28, 5000}, {31, 5000, 32, 5000}, {35, 5000, 36, 5000}};
constexpr RequestTimers kOutputWaits[] = {
    {9, 5000, 10, 5000},  {13, 5000, 14, 5000}, {17, 5000, 18, 5000}, {21, 5000, 22, 5000},
    {25, 5000, 26, 5000}, {29, 5000, 30, 5000}, {33, 5000, 34, 5000}, {37, 5000, 38, 5000}};

constexpr int kStatusConnectCheck = 45;
constexpr int kStatusTcpStart = 46;
constexpr int kConnectCheck = 47;
constexpr int kActivationLinkCheck = 48;
constexpr int kNoticeTimer = 55;
constexpr int kStatusAnimation = 60;
constexpr int kPortRescan = 66;
constexpr int kStatusComStart = 91;

constexpr int kResetAnimation = 100;
// Factory reset: input k back on output k for k = 1..8, then EDID access, default EDID, beep.
constexpr RequestTimers kResetRouteWaits[] = {
    {101, 5000, 102, 5000}, {103, 5000, 104, 5000}, {105, 5000, 106, 5000}, {107, 5000, 108, 5000},
    {109, 5000, 110, 5000}, {111, 5000, 112, 5000}, {113, 5000, 114, 5000}, {115, 5000, 116, 5000}};
constexpr RequestTimers kResetEdidAccessWait{117, 5000, 118, 5000};
constexpr RequestTimers kResetEdidWait{119, 5000, 120, 5000};
constexpr RequestTimers kResetBeepWait{121, 5000, 122, 5000};

constexpr int kRebootTimer = 201;
constexpr int kRebootDoneTimer = 202;
constexpr int kPowerOnTimer = 203;
constexpr int kPowerOnDoneTimer = 204;

// The standby announcement stops every timer in this range.
constexpr int kFirstRequestTimer = 1;
constexpr int kLastRequestTimer = 79;

// --- periods (ms) ------------------------------------------------------------------------------
using session::kConnectCheckMs;
using session::kConnectPatienceMs;
constexpr int kRescanMs = 500;

// --- texts -------------------------------------------------------------------------------------
constexpr const char* kConnect = "Connect";
constexpr const char* kDisconnect = "Disconnect";
constexpr const char* kNotKnown = "Not Known";
constexpr const char* kPleaseWait = "Please wait...";
constexpr const char* kSetOk = "Set successfully!";
constexpr const char* kRebooting = "Rebooting...";
constexpr const char* kRebootOk = "Reboot successfully!";
constexpr const char* kInitializing = "Initializing...";
constexpr const char* kInitializingOk = "Initializing successfully!";
constexpr const char* kPowerOff = "Power Off!";
constexpr const char* kGettingStatus = "Getting status ";
constexpr const char* kSetting = "Setting ";

} // namespace zentrel::gen
