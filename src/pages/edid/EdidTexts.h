#pragma once
// The texts of the EDID page that follow from a number: the sixteen choices of "Set EDID
// Mode", the EDID an input reports, the output letters and the animated progress texts.
#include "EdidIds.h"

#include <cstdint>
#include <string>

namespace zentrel::edid {

constexpr int kChoiceCount = 16;

// Choice p = 0..15 as the combo shows it. The DVI entries keep their trailing blank.
const char* choiceText(int p);
// The EDID an input presents, from the code of its status reply: the built-in EDIDs, a copy of
// a display on output A..D, anything else user-defined. No text has a trailing blank.
const char* statusText(std::uint8_t code);
// "A".."H" for output position 0..7.
std::string outputLetter(int position);
// "HDMI OUT B is not connected!"
std::string notConnectedText(int position);
// The progress text of an operation without its dots ("Setting "); empty for the refresh.
const char* progressBase(Operation op);
// The text the progress box opens with: the base and three dots.
std::string progressStart(Operation op);

} // namespace zentrel::edid
