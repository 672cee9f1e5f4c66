#pragma once
// Resource numbers of the dialog templates and icons the windows are built from.

namespace zentrel::res {

// Dialog templates.
constexpr int kAboutDialog = 100;
constexpr int kMainDialog = 102;
constexpr int kFirmwarePage = 143;
constexpr int kMatrixPage = 144;
constexpr int kGeneralPage = 145;
constexpr int kNoticeDialog = 146;
constexpr int kEdidPage = 149;
constexpr int kConfigBoxDialog = 188;
constexpr int kProgressDialog = 189;

// Icons.
constexpr int kAppIcon = 128;
constexpr int kLinkIcon = 129;
constexpr int kCloseIcon = 173;
constexpr int kCloseIconHot = 174;
constexpr int kCaptionIcon = 176;
constexpr int kMinimizeIcon = 178;
constexpr int kMinimizeIconHot = 179;
constexpr int kLinkDownIcon = 180;  // a link that is not connected (General page)
constexpr int kLinkUpIcon = 181;    // a connected link (General page)
constexpr int kOpenFileIcon = 182;  // an open folder: the pages' buttons that choose a file
constexpr int kNextArrowIcon = 183; // Matrix page: the next input
constexpr int kPrevArrowIcon = 184; // Matrix page: the previous input

// Cursors the skinned buttons may show.
constexpr int kHandCursor = 32649;

} // namespace zentrel::res
