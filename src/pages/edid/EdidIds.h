#pragma once
// Control identifiers, timer identifiers, periods and texts of the EDID page (dialog 149). The
// parts of the page share them, and tests click and read controls by them.
#include "operations/EdidTexts.h"
#include "operations/EdidWaits.h"
#include "session/SessionTexts.h"

#include <array>

namespace zentrel::edid {

// --- controls: "Manual Mode" -------------------------------------------------------------------
constexpr int kManualGroup = 9300;
constexpr int kModeLabel = 9301;
constexpr int kModeChoice = 1080; // the 16 EDID choices
constexpr int kModeTo = 9302;
constexpr int kModeTarget = 1081; // IN1..IN4 (or IN8), "All Inputs"
constexpr int kModeSet = 1082;
constexpr int kCopyLabel = 9303;
constexpr int kCopySource = 1083; // HDMI OUT A..D (or H)
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

// The template's lists carry eight inputs and outputs; the page shows the unit's own.
constexpr int kTemplatePorts = 8;
// How far the page's opening moves the Status button and narrows the list's frames.
constexpr int kCutPixels = 150;

// --- timers of the page's own (the conversations' are in operations/EdidWaits.h) -------------
constexpr int kNoticeTimer = 55;
constexpr int kAnimationTimer = 60;
// The standby announcement stops every timer in this range: up to the status waits of input 8,
// or an eight-input unit's Status chain would repeat its query and report a time-out after it.
constexpr int kFirstStandbyTimer = 1;
constexpr int kLastStandbyTimer = kStatusGiveUps.back();

// --- texts -------------------------------------------------------------------------------------
constexpr const char* kNoFile = "Select the file!";
constexpr const char* kFileFilter = "Binary file(*.BIN)|*.BIN||";
constexpr const char* kAllInputs = "All Inputs";
constexpr const char* kDetailsButton = "Details...";
constexpr const char* kDetailsTitle = "EDID details";
constexpr const char* kCopyAll = "Copy all";

} // namespace zentrel::edid
