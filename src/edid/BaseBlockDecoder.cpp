#include "edid/BaseBlockDecoder.h"

#include "edid/DescriptorText.h"
#include "edid/DetailedTimingDecoder.h"

#include <array>

namespace edidinfo {
namespace {

constexpr std::array<const char*, 17> establishedNames = {
    "720x400@70",  "720x400@88",  "640x480@60",  "640x480@67",   "640x480@72", "640x480@75",
    "800x600@56",  "800x600@60",  "800x600@72",  "800x600@75",   "832x624@75", "1024x768@87i",
    "1024x768@60", "1024x768@70", "1024x768@75", "1280x1024@75", "1152x870@75"};

std::string manufacturerId(std::uint8_t hi, std::uint8_t lo) {
    const int v = hi << 8 | lo;
    std::string id;
    for (int shift : {10, 5, 0}) {
        const int letter = (v >> shift) & 0x1f;
        id += letter >= 1 && letter <= 26 ? static_cast<char>('A' + letter - 1) : '?';
    }
    return id;
}

void decodeStandard(std::uint8_t b0, std::uint8_t b1, int revision, EdidInfo& out) {
    if ((b0 == 0x01 && b1 == 0x01) || b0 == 0x00) {
        return; // unused slot
    }
    StandardTiming s;
    s.width = (b0 + 31) * 8;
    switch (b1 >> 6) {
    case 0:
        s.height = revision < 3 ? s.width : s.width * 10 / 16;
        break;
    case 1:
        s.height = s.width * 3 / 4;
        break;
    case 2:
        s.height = s.width * 4 / 5;
        break;
    default:
        s.height = s.width * 9 / 16;
        break;
    }
    s.refreshHz = (b1 & 0x3f) + 60;
    out.standard.push_back(s);
}

void decodeRange(std::span<const std::uint8_t, 18> d, EdidInfo& out) {
    RangeLimits r;
    const std::uint8_t offsets = d[4];
    r.minVHz = d[5] + (offsets & 0x01 ? 255 : 0);
    r.maxVHz = d[6] + (offsets & 0x02 ? 255 : 0);
    r.minHKhz = d[7] + (offsets & 0x04 ? 255 : 0);
    r.maxHKhz = d[8] + (offsets & 0x08 ? 255 : 0);
    r.maxPixelClockMhz = d[9] * 10;
    out.range = r;
}

void decodeDescriptor(std::span<const std::uint8_t, 18> d, int index, EdidInfo& out) {
    if (d[0] != 0 || d[1] != 0) {
        out.detailed.push_back(decodeDetailedTiming(d));
        if (index == 0 && (out.preferredFlag || out.version >= "1.4")) {
            out.preferred = out.detailed.back();
        }
        return;
    }
    switch (d[3]) {
    case 0xfc:
        out.name += descriptorText(d);
        break; // a long name spans two descriptors
    case 0xff:
        out.serialText = descriptorText(d);
        break;
    case 0xfd:
        decodeRange(d, out);
        break;
    default:
        break;
    }
}

} // namespace

void decodeBaseBlock(std::span<const std::uint8_t, 128> b, EdidInfo& out) {
    static constexpr std::uint8_t header[8] = {0x00, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0x00};
    if (!std::equal(std::begin(header), std::end(header), b.begin())) {
        out.problems.push_back("The base block does not start with the EDID header.");
    }
    out.manufacturer = manufacturerId(b[8], b[9]);
    out.product = b[10] | b[11] << 8;
    out.serial = b[12] | b[13] << 8 | b[14] << 16 | static_cast<std::uint32_t>(b[15]) << 24;
    out.modelYear = b[16] == 0xff;
    out.week = out.modelYear ? 0 : b[16];
    out.year = 1990 + b[17];
    out.version = std::to_string(b[18]) + "." + std::to_string(b[19]);
    if (b[18] != 1) {
        out.problems.push_back("EDID version " + out.version + " is not 1.x.");
    }
    out.digital = (b[20] & 0x80) != 0;
    out.widthCm = b[21];
    out.heightCm = b[22];
    out.gamma = b[23] == 0xff ? 0 : (b[23] + 100) / 100.0;
    out.preferredFlag = (b[24] & 0x02) != 0;
    const int est = b[35] << 9 | b[36] << 1 | b[37] >> 7;
    for (std::size_t i = 0; i < establishedNames.size(); ++i) {
        if (est & (1 << (16 - i))) {
            out.established.push_back(establishedNames[i]);
        }
    }
    for (int i = 0; i < 8; ++i) {
        decodeStandard(b[38 + 2 * i], b[39 + 2 * i], b[19], out);
    }
    for (int i = 0; i < 4; ++i) {
        decodeDescriptor(b.subspan(54 + 18 * i).first<18>(), i, out);
    }
    out.extensionCount = b[126];
}

} // namespace edidinfo
