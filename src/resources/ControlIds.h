#pragma once
// Control identifiers of the application shell's dialogs.

namespace zentrel::ctl {

// Main window (dialog 102).
constexpr int kGeneralTab = 1000;
constexpr int kEdidTab = 1001;
constexpr int kMatrixTab = 1003;
constexpr int kFirmwareTab = 1004;
constexpr int kLinkButton = 1005;
constexpr int kHiddenButton = 1009;
constexpr int kClose = 1047;
constexpr int kMinimize = 1048;
constexpr int kHiddenStatic = 1128;
constexpr int kTitle = 1130;
constexpr int kStrip = 1131;
constexpr int kHiddenIcon = 1156;
constexpr int kCaptionIcon = 1157;
constexpr int kGeneralCaption = 1184;
constexpr int kEdidCaption = 1185;
constexpr int kMatrixCaption = 1186;
constexpr int kFirmwareCaption = 1187;
// Drawn parts of the main window that the template does not carry: the grey frame round the
// window and the separators between the tab captions.
constexpr int kWindowFrame = 9000;
constexpr int kSeparator1 = 9001;
constexpr int kSeparator2 = 9002;
constexpr int kSeparator3 = 9003;

// Notice pop-up (dialog 146) and the preset role of the same dialog.
constexpr int kNoticeLabel = 1137;
constexpr int kPresetFirstCombo = 1051;
constexpr int kPresetLastCombo = 1059;
constexpr int kPresetName = 1060;
constexpr int kPresetTitle = 1133;
constexpr int kPresetIcon = 1136;
constexpr int kPresetClose = 1135;

// Progress pop-up (dialog 189) and configuration box (dialog 188).
constexpr int kProgressLabel = 1181;
constexpr int kConfigLabel = 1178;

// About box (dialog 100).
constexpr int kAboutIcon = 1200;
constexpr int kAboutName = 1201;
constexpr int kAboutVersion = 1202;

// Stand-in page windows: the one label that names the page.
constexpr int kPageLabel = 1199;

} // namespace zentrel::ctl
