#include "edid/AudioFormatNames.h"

#include <array>

namespace edidinfo {

std::string audioFormatName(int code) {
    static constexpr std::array<const char*, 16> names = {
        "reserved", "LPCM",          "AC-3",   "MPEG-1", "MP3", "MPEG-2", "AAC LC",  "DTS",
        "ATRAC",    "One Bit Audio", "E-AC-3", "DTS-HD", "MAT", "DST",    "WMA Pro", "extended"};
    return code >= 0 && code < 16 ? names[code] : "reserved";
}

} // namespace edidinfo
