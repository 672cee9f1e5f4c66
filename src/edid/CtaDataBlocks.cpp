#include "edid/CtaDataBlocks.h"

#include "edid/AudioFormatNames.h"
#include "edid/VicTable.h"

#include <array>

namespace edidinfo {
namespace {

VideoMode modeOf(int vic, bool native) {
    VideoMode m;
    m.vic = vic;
    m.native = native;
    if (const VicTiming* t = findVic(vic)) {
        m.width = t->width;
        m.height = t->height;
        m.refreshHz = t->refreshHz;
        m.interlaced = t->interlaced;
    }
    return m;
}

void flagNames(std::uint8_t bits, const std::array<const char*, 8>& names,
               std::vector<std::string>& into) {
    for (int i = 0; i < 8; ++i) {
        if ((bits & (1 << i)) && names[i][0] != '\0') {
            into.push_back(names[i]);
        }
    }
}

} // namespace

void decodeVideoBlock(Payload p, std::vector<VideoMode>& into) {
    for (std::uint8_t svd : p) {
        // Codes 129..192 are 1..64 with the native flag; above that the full byte is the code.
        const bool native = svd > 128 && svd <= 192;
        into.push_back(modeOf(native ? svd & 0x7f : svd, native));
    }
}

void decodeAudioBlock(Payload p, CtaExtension& out, std::vector<std::string>& problems) {
    if (p.size() % 3 != 0) {
        problems.push_back("An audio data block's length is not a multiple of 3.");
    }
    static constexpr std::array<double, 7> rates = {32, 44.1, 48, 88.2, 96, 176.4, 192};
    for (std::size_t i = 0; i + 3 <= p.size(); i += 3) {
        AudioFormat a;
        a.code = (p[i] >> 3) & 0x0f;
        a.name = audioFormatName(a.code);
        a.channels = (p[i] & 0x07) + 1;
        for (std::size_t r = 0; r < rates.size(); ++r) {
            if (p[i + 1] & (1 << r)) {
                a.ratesKhz.push_back(rates[r]);
            }
        }
        if (a.code == 1) {
            for (auto [bit, depth] : {std::pair{0, 16}, {1, 20}, {2, 24}}) {
                if (p[i + 2] & (1 << bit)) {
                    a.bitDepths.push_back(depth);
                }
            }
        } else if (a.code >= 2 && a.code <= 8) {
            a.maxBitrateKbps = p[i + 2] * 8;
        }
        out.audio.push_back(a);
    }
}

void decodeSpeakerBlock(Payload p, CtaExtension& out) {
    if (p.empty()) {
        return;
    }
    flagNames(p[0], {"FL/FR", "LFE", "FC", "RL/RR", "RC", "FLC/FRC", "RLC/RRC", "FLW/FRW"},
              out.speakers);
    if (p.size() > 1) {
        flagNames(p[1], {"FLH/FRH", "TC", "FCH", "", "", "", "", ""}, out.speakers);
    }
}

void decodeVendorBlock(Payload p, CtaExtension& out) {
    if (p.size() < 3) {
        return;
    }
    const int oui = p[0] | p[1] << 8 | p[2] << 16;
    if (oui == 0x000c03 && p.size() >= 5) {
        HdmiBlock h;
        h.physicalAddress = std::to_string(p[3] >> 4) + "." + std::to_string(p[3] & 0xf) + "." +
                            std::to_string(p[4] >> 4) + "." + std::to_string(p[4] & 0xf);
        if (p.size() > 5) {
            flagNames(
                p[5],
                {"DVI_Dual", "", "", "DC_Y444", "DC_30bit", "DC_36bit", "DC_48bit", "Supports_AI"},
                h.deepColour);
        }
        if (p.size() > 6) {
            h.maxTmdsMhz = p[6] * 5;
        }
        out.hdmi = h;
    } else if (oui == 0xd85dc4 && p.size() >= 6) {
        HdmiForumBlock f;
        f.version = p[3];
        f.maxTmdsMhz = p[4] * 5;
        f.scdc = (p[5] & 0x80) != 0;
        if (p.size() > 6) {
            flagNames(p[6], {"DC_30bit_420", "DC_36bit_420", "DC_48bit_420", "", "", "", "", ""},
                      f.deepColour420);
        }
        out.hdmiForum = f;
    }
}

void decodeExtendedBlock(Payload p, CtaExtension& out, std::vector<std::string>& problems) {
    if (p.empty()) {
        problems.push_back("An extended CTA data block has no extended tag.");
        return;
    }
    const Payload rest = p.subspan(1);
    switch (p[0]) {
    case 5: // colorimetry
        if (!rest.empty()) {
            flagNames(rest[0],
                      {"xvYCC601", "xvYCC709", "sYCC601", "opYCC601", "opRGB", "BT2020cYCC",
                       "BT2020YCC", "BT2020RGB"},
                      out.colorimetry);
        }
        if (rest.size() > 1 && (rest[1] & 0x80)) {
            out.colorimetry.push_back("DCI-P3");
        }
        break;
    case 6: { // HDR static metadata
        std::vector<std::string> eotfs;
        if (!rest.empty()) {
            flagNames(rest[0], {"SDR", "HDR", "PQ", "HLG", "", "", "", ""}, eotfs);
        }
        out.hdrEotfs = eotfs;
        break;
    }
    case 14: // YCbCr 4:2:0 only
        decodeVideoBlock(rest, out.ycbcr420Only);
        for (VideoMode& m : out.ycbcr420Only) {
            m.ycbcr420 = true;
        }
        break;
    case 15: // which video block entries also take YCbCr 4:2:0; empty means all of them
        for (std::size_t i = 0; i < out.video.size(); ++i) {
            out.video[i].ycbcr420 =
                rest.empty() || (i / 8 < rest.size() && (rest[i / 8] & (1 << (i % 8))));
        }
        break;
    default:
        break;
    }
}

} // namespace edidinfo
