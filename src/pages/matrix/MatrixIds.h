#pragma once
// Control identifiers, timer identifiers and texts of the Matrix page (dialog 144) and of the
// setting edit dialog (dialog 146 in its second role). The parts of the page share them, and
// tests click and read controls by them.
#include "operations/SwitchTimers.h"
#include "session/SessionTexts.h"
#include <array>

namespace zentrel::mtx {

constexpr int kInputs = 8;      // input buttons per output in the template
constexpr int kSequenceEnd = 5; // a sequence ends with the acknowledgment of this output

// --- controls: the switching grid ------------------------------------------------------------
// Input buttons of output k (index k-1), inputs 1..8 (index i-1).
inline constexpr std::array<std::array<int, kInputs>, ops::kOutputs> kInputButtons{{
    {1138, 1050, 1051, 1052, 1085, 1086, 1087, 1088},
    {1139, 1140, 1141, 1142, 1151, 1152, 1153, 1154},
    {1143, 1144, 1145, 1146, 1156, 1157, 1158, 1159},
    {1147, 1148, 1149, 1150, 1160, 1161, 1162, 1163},
    {1164, 1165, 1166, 1167, 1168, 1169, 1170, 1171},
    {1172, 1173, 1174, 1175, 1176, 1177, 1178, 1179},
    {1180, 1181, 1182, 1183, 1184, 1185, 1186, 1187},
    {1188, 1189, 1190, 1191, 1192, 1193, 1194, 1195},
}};
inline constexpr std::array<int, ops::kOutputs> kPrev{1057, 1059, 1081, 1083,
                                                      1089, 1094, 1096, 1098};
inline constexpr std::array<int, ops::kOutputs> kNext{1058, 1080, 1082, 1084,
                                                      1090, 1095, 1097, 1099};
// Group boxes: E..H are the template's 1196..1199; A..D nothing refers to.
inline constexpr std::array<int, ops::kOutputs> kGroups{9401, 9402, 9403, 9404,
                                                        1196, 1197, 1198, 1199};

constexpr int inputButton(int k, int i) {
    return kInputButtons[static_cast<std::size_t>(k - 1)][static_cast<std::size_t>(i - 1)];
}
constexpr int numberBox(int k) { // 1062..1069
    return 1061 + k;
}
constexpr int prevArrow(int k) {
    return kPrev[static_cast<std::size_t>(k - 1)];
}
constexpr int nextArrow(int k) {
    return kNext[static_cast<std::size_t>(k - 1)];
}
constexpr int groupBox(int k) {
    return kGroups[static_cast<std::size_t>(k - 1)];
}
// The name people gave output k, under its group's caption; hidden while it has none.
constexpr int nameLabel(int k) { // 9441..9448
    return 9440 + k;
}

// --- controls: the logs, hidden but filled ------------------------------------------------------
constexpr int kReceiveLog = 1060;
constexpr int kSendLog = 1061;
constexpr int kReceiveFrame = 1206;
constexpr int kSendFrame = 1207;
constexpr int kLogClear = 1;

// --- controls: output configuration and stored settings
// -------------------------------------------
constexpr int kConfigGroup = 9410;
constexpr int kSelectOutputLabel = 9411;
constexpr int kSelectOutput = 1070;
constexpr int panelButton(int n) { // buttons "1".."8": 1071..1078
    return 1070 + n;
}
constexpr int kSettingsList = 1047;
constexpr int kSet = 1048;
constexpr int kEdit = 1049;

// "Select Output" entries 8 and 9.
constexpr int kAllOutputChoice = 8;
constexpr int kPortToPortChoice = 9;

// --- controls: the setting edit dialog
// --------------------------------------------------------------
constexpr int kEditOk = 1;
constexpr int kEditCancel = 2;
constexpr int kEditName = 1060;
constexpr int kAllOutputsFrom = 1055;
constexpr int kEditClose = 1135;
constexpr int kEditMessage = 1137;
inline constexpr std::array<int, ops::kOutputs> kOutFrom{1051, 1052, 1053, 1054,
                                                         1056, 1057, 1058, 1059};
constexpr int outFrom(int n) {
    return kOutFrom[static_cast<std::size_t>(n - 1)];
}
// "All Outputs from" entries: 0 "Select Input", 1..8 "In1".."In8", 9 "Port to Port".
constexpr int kAllFromPortToPort = 9;

// --- timers ------------------------------------------------------------------------------------
constexpr int kNoticeTimer = 59;
constexpr int kAnimationTimer = 60;

// --- texts -------------------------------------------------------------------------------------
constexpr const char* kPleaseWait = "Please wait ";
constexpr const char* kOpenPortFirst = "请打开串口";

} // namespace zentrel::mtx
