#pragma once
// The decode for people: the whole report (the Details window, the command-line tool) and the
// one- or two-line summary shown where the file is chosen.
#include "edid/EdidInfo.h"

#include <string>

namespace edidinfo {

std::string edidReport(const EdidInfo& info);
// "NAME by MFR, 3840x2160 60.00 Hz, HDR (SDR, PQ)" and, when there is any, "LPCM 2ch, AC-3 5.1".
std::string edidSummary(const EdidInfo& info);
// "LPCM 2ch, AC-3 5.1": each format once, with the most channels any of its entries names.
std::string audioSummary(const EdidInfo& info);
std::string timingText(const DetailedTiming& t);

} // namespace edidinfo
