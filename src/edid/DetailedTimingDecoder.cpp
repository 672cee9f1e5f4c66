#include "edid/DetailedTimingDecoder.h"

namespace edidinfo {

DetailedTiming decodeDetailedTiming(std::span<const std::uint8_t, 18> d) {
    DetailedTiming t;
    const int clock10kHz = d[0] | d[1] << 8;
    const int hActive = d[2] | (d[4] >> 4) << 8;
    const int hBlank = d[3] | (d[4] & 0xf) << 8;
    const int vActive = d[5] | (d[7] >> 4) << 8;
    const int vBlank = d[6] | (d[7] & 0xf) << 8;
    t.hFront = d[8] | ((d[11] >> 6) & 3) << 8;
    t.hSync = d[9] | ((d[11] >> 4) & 3) << 8;
    t.vFront = (d[10] >> 4) | ((d[11] >> 2) & 3) << 4;
    t.vSync = (d[10] & 0xf) | (d[11] & 3) << 4;
    t.hBack = hBlank - t.hFront - t.hSync;
    t.vBack = vBlank - t.vFront - t.vSync;
    t.widthMm = d[12] | (d[14] >> 4) << 8;
    t.heightMm = d[13] | (d[14] & 0xf) << 8;
    t.interlaced = (d[17] & 0x80) != 0;
    t.width = hActive;
    t.height = t.interlaced ? 2 * vActive : vActive;
    t.pixelClockMhz = clock10kHz / 100.0;
    // Borders (bytes 15, 16) lie inside the blanking; an interlaced field carries half a line
    // more than its active and blanking lines.
    const double hTotal = hActive + hBlank;
    const double vTotal = vActive + vBlank + (t.interlaced ? 0.5 : 0.0);
    if (hTotal > 0 && vTotal > 0) {
        t.refreshHz = clock10kHz * 10000.0 / (hTotal * vTotal);
    }
    return t;
}

} // namespace edidinfo
