#pragma once
// Control ids, timers and texts of the TCP configuration dialog (template 187).
namespace zentrel::nc {

constexpr int kTemplateId = 187;

constexpr int kTitle = 1159;
constexpr int kClose = 1158;
constexpr int kGroup = 1161;
constexpr int kAutoIp = 1162;
constexpr int kStaticIp = 1163;
constexpr int kIpLabel = 1164;
constexpr int kFirstOctet = 1102; // 1102..1105
constexpr int kFirstDot = 1165;   // 1165..1167
constexpr int kMacLabel = 1168;
constexpr int kFirstMacByte = 1106; // 1106..1111
constexpr int kFirstDash = 1169;    // 1169..1173
constexpr int kOk = 1174;
constexpr int kCancel = 1175;
constexpr int kReceiveLog = 1060;
constexpr int kUnused = 1160;
// The grey one-pixel frame made at the first opening, over the whole dialog.
constexpr int kFrame = 9001;

constexpr int kOctets = 4;
constexpr int kMacBytes = 6;
constexpr int octet(int k) {
    return kFirstOctet + k - 1;
} // k = 1..4
constexpr int macByte(int k) {
    return kFirstMacByte + k - 1;
} // k = 1..6

// Closes the notice a refused OK opened.
constexpr int kNoticeTimer = 55;
constexpr int kNoticeMs = 1500;

constexpr const char* kTitleText = " TCP  Configuration";
constexpr const char* kFindFirstText = "Please search for the matrix first!";

} // namespace zentrel::nc
