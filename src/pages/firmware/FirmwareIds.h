#pragma once
// Control identifiers, timer identifiers and texts of the FW Upgrade page (dialog 143). The
// parts of the page share them, and tests click and read controls by them.
#include "operations/UpgradeIds.h"
#include <array>
#include <cstddef>

namespace zentrel::fw {

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

// --- texts of the page ----------------------------------------------------------------------
// The file dialog's filter: shown name and pattern pairs, each ended by '|'.
constexpr const char* kFileFilter = "Binary file(*.fw)|*.fw||";
constexpr const char* kOpenTip = "Open";
constexpr const char* kOpenName = "Open firmware file";
constexpr const char* kAppTitle = "Zentrel";

// The device line.
constexpr const char* kDevicePrefix = "Device: ";
constexpr const char* kVersionGap = "          "; // ten blanks
constexpr const char* kVersionPrefix = "Version: ";

} // namespace zentrel::fw
