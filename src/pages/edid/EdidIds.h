#pragma once
// Control identifiers, timer identifiers, periods and texts of the EDID page (dialog 149). The
// parts of the page share them, and tests click and read controls by them.
#include "session/SessionTexts.h"
#include <array>

namespace zentrel::edid {

// The texts and periods every page shares.
using session::kAnimationMs;
using session::kNoCom;
using session::kNoLink;
using session::kNoticeMs;
using session::kReplyWaitMs;
using session::kStandby;
using session::kTimeOut;

// --- controls: "Manual Mode" -------------------------------------------------------------------
constexpr int kManualGroup = 9300;
constexpr int kModeLabel = 9301;
constexpr int kModeChoice = 1080; // the 16 EDID choices
constexpr int kModeTo = 9302;
constexpr int kModeTarget = 1081; // IN1..IN4, "All Inputs"
constexpr int kModeSet = 1082;
constexpr int kCopyLabel = 9303;
constexpr int kCopySource = 1083; // HDMI OUT A..D
constexpr int kCopyTo = 9304;
constexpr int kCopyTarget = 1084;
constexpr int kCopySet = 1085;
constexpr int kFileLabel = 9305;
constexpr int kOpenFile = 1090; // picture button
constexpr int kFilePath = 1098; // read-only: the accepted file
constexpr int kFileTo = 9306;
constexpr int kDownloadTarget = 1099;
constexpr int kDownloadSet = 1091;

// --- controls: "Input EDID List" ---------------------------------------------------------------
constexpr int kListGroup = 1232; // made narrower when the page opens
constexpr int kListLine = 1157;  // made narrower with the group
constexpr int kStatus = 1222;    // moved left when the page opens
constexpr int kSeparator = 1231;
constexpr int kMaxInputs = 8;
// Input k = 1..8: its label ("INk:") and the EDID it presents.
constexpr std::array<int, kMaxInputs> kInputLabels{9311, 9312, 9313, 9314, 1227, 1228, 1229, 1230};
constexpr std::array<int, kMaxInputs> kStatusLines{1218, 1219, 1220, 1221, 1223, 1224, 1225, 1226};
constexpr int inputLabel(int k) {
    return kInputLabels[static_cast<std::size_t>(k - 1)];
}
constexpr int statusLine(int k) {
    return kStatusLines[static_cast<std::size_t>(k - 1)];
}

// --- controls: what the EDID file chosen says, below the list --------------------------------
constexpr int kFileSummary = 1240; // one or two lines, shown once a file is taken
constexpr int kFileDetails = 1241; // "Details...", shown once a file is chosen

// --- the details window: the whole decode of the file chosen last ------------------------------
constexpr int kDetailsTemplate = 191;
constexpr int kDetailsHeading = 1;
constexpr int kDetailsText = 2;
constexpr int kDetailsCopyAll = 3;

// --- controls: the logs, hidden but filled ----------------------------------------------------
constexpr int kReceiveLog = 1060;
constexpr int kSendLog = 1061;
constexpr int kReceiveFrame = 1206;
constexpr int kSendFrame = 1207;
constexpr int kLogClear = 1062;

// The unit has four inputs and four outputs; the lists carry eight of each until the page cuts
// them. Target position kInputCount is "All Inputs".
constexpr int kInputCount = 4;
constexpr int kTemplatePorts = 8;
// How far the page's opening moves the Status button and narrows the list's frames.
constexpr int kCutPixels = 150;

// --- the exchange an operation runs ------------------------------------------------------------
enum class Operation { None = 0, SetMode = 1, Copy = 2, Download = 3, Refresh = 4, Status = 5 };

// The choice that sets the default EDID instead of a built-in one.
constexpr int kDefaultChoice = 15;

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
constexpr int kNoticeTimer = 55;
constexpr int kOutputCheckTimer = 58;
constexpr int kAnimationTimer = 60;
// Status query of input k: repeat timer, then its give-up.
constexpr std::array<int, kMaxInputs> kStatusTimers{70, 72, 74, 76, 78, 80, 82, 84};
constexpr std::array<int, kMaxInputs> kStatusGiveUps{71, 73, 75, 77, 79, 81, 83, 85};
// The standby announcement stops every timer in this range.
constexpr int kFirstStandbyTimer = 1;
constexpr int kLastStandbyTimer = 79;

// --- periods (ms) ------------------------------------------------------------------------------
constexpr int kBlockDelayMs = 200;
constexpr int kLongNoticeMs = 2500;

// --- texts -------------------------------------------------------------------------------------
constexpr const char* kPleaseWait = "Please wait...";
constexpr const char* kSetOk = "Set successfully!";
constexpr const char* kCopyOk = "Copy successfully!";
constexpr const char* kCopyFailed = "Copy failed!";
constexpr const char* kSwitchRefused = "Please set the EDID to [1111]!";
constexpr const char* kBadFile = "Please select the correct EDID file!";
constexpr const char* kNoFile = "Select the file!";
constexpr const char* kDownloadOk = "Download successfully!";
constexpr const char* kDownloadFailed = "Download failed!";
constexpr const char* kFileFilter = "Binary file(*.BIN)|*.BIN||";
constexpr const char* kDefaultEdidText = "Default EDID";
constexpr const char* kAllInputs = "All Inputs";
constexpr const char* kDetailsButton = "Details...";
constexpr const char* kDetailsTitle = "EDID details";
constexpr const char* kCopyAll = "Copy all";

} // namespace zentrel::edid
