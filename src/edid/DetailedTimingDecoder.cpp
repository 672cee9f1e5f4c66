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
    t.hBorder = d[15];
    t.vBorder = d[16];
    // The borders lie inside the blanking, on both sides of the picture.
    t.hBack = hBlank - t.hFront - t.hSync - 2 * t.hBorder;
    t.vBack = vBlank - t.vFront - t.vSync - 2 * t.vBorder;
    t.widthMm = d[12] | (d[14] >> 4) << 8;
    t.heightMm = d[13] | (d[14] & 0xf) << 8;
    t.interlaced = (d[17] & 0x80) != 0;
    t.width = hActive;
    t.height = t.interlaced ? 2 * vActive : vActive;
    t.pixelClockMhz = clock10kHz / 100.0;
    // A progressive frame's lines are the active and blanking lines. An interlaced field carries
    // half a line more and leaves out its two vertical borders: decoders count such a field this
    // way, and the rate shown must be the one an installer reads in their output.
    const double hTotal = hActive + hBlank;
    const double vTotal =
        t.interlaced ? vActive + vBlank - 2 * t.vBorder + 0.5 : double(vActive + vBlank);
    if (hTotal > 0 && vTotal > 0) {
        t.refreshHz = clock10kHz * 10000.0 / (hTotal * vTotal);
    }
    return t;
}

} // namespace edidinfo
