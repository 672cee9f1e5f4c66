#pragma once
#include <string>

namespace edidinfo {

// The name of a CTA audio format code: "LPCM", "AC-3", ... "WMA Pro"; "reserved" for 0 and 15.
std::string audioFormatName(int code);

} // namespace edidinfo
