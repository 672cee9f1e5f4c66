#pragma once
// The EDID page's texts, which zentrel-ctl speaks too: the outcomes of a change, the sixteen
// choices of "Set EDID Mode", the EDID an input reports, the output letters and the animated
// progress texts.
#include "EdidWaits.h"

#include <cstdint>
#include <string>

namespace zentrel::edid {

constexpr int kChoiceCount = 16;

using session::kSetOk;
constexpr const char* kCopyOk = "Copy successfully!";
constexpr const char* kCopyFailed = "Copy failed!";
constexpr const char* kSwitchRefused = "Please set the EDID to [1111]!";
constexpr const char* kBadFile = "Please select the correct EDID file!";
constexpr const char* kDownloadOk = "Download successfully!";
constexpr const char* kDownloadFailed = "Download failed!";
constexpr const char* kDefaultEdidText = "Default EDID";

// Choice p = 0..15 as the combo shows it. The DVI entries keep their trailing blank.
const char* choiceText(int p);
// The EDID an input presents, from the code of its status reply: the built-in EDIDs, a copy of
// a display on output A..D, anything else user-defined. No text has a trailing blank.
const char* statusText(std::uint8_t code);
// "IN1".."IN8": input k as the target lists show it.
std::string inputItem(int k);
// "A".."H" for output position 0..7.
std::string outputLetter(int position);
// "HDMI OUT B is not connected!"
std::string notConnectedText(int position);
// The progress text of an operation without its dots ("Setting "); empty for the refresh.
const char* progressBase(Operation op);
// The text the progress box opens with: the base and three dots.
std::string progressStart(Operation op);

} // namespace zentrel::edid
