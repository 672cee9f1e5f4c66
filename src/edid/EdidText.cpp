#include "edid/EdidText.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <sstream>

namespace edidinfo {
namespace {

std::string fixed(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

std::string channelsText(int channels) {
    if (channels == 6) {
        return "5.1";
    }
    if (channels == 8) {
        return "7.1";
    }
    return std::to_string(channels) + "ch";
}

std::string joined(const std::vector<std::string>& parts, const char* sep = ", ") {
    std::string s;
    for (const std::string& p : parts) {
        s += (s.empty() ? "" : sep) + p;
    }
    return s;
}

std::string modeText(const VideoMode& m) {
    std::string s = "VIC " + std::to_string(m.vic) + ": ";
    if (m.width == 0) {
        s += "unknown";
    } else {
        s += std::to_string(m.width) + "x" + std::to_string(m.height) +
             (m.interlaced ? "i " : " ") + fixed(m.refreshHz, 2) + " Hz";
    }
    if (m.native) {
        s += " (native)";
    }
    if (m.ycbcr420) {
        s += " (YCbCr 4:2:0)";
    }
    return s;
}

std::string audioText(const AudioFormat& a) {
    std::string s = a.name + ", " + std::to_string(a.channels) + " channels";
    if (!a.ratesKhz.empty()) {
        std::vector<std::string> rates;
        for (double r : a.ratesKhz) {
            rates.push_back(r == static_cast<int>(r) ? std::to_string(static_cast<int>(r))
                                                     : fixed(r, 1));
        }
        s += ", " + joined(rates, " ") + " kHz";
    }
    if (!a.bitDepths.empty()) {
        std::vector<std::string> depths;
        for (int d : a.bitDepths) {
            depths.push_back(std::to_string(d));
        }
        s += ", " + joined(depths, " ") + " bits";
    }
    if (a.maxBitrateKbps > 0) {
        s += ", up to " + std::to_string(a.maxBitrateKbps) + " kbit/s";
    }
    return s;
}

void reportTimings(std::ostringstream& o, const std::vector<DetailedTiming>& timings) {
    for (const DetailedTiming& t : timings) {
        o << "    " << timingText(t) << ", " << fixed(t.pixelClockMhz, 2) << " MHz, " << t.widthMm
          << " mm x " << t.heightMm << " mm\n";
    }
}

void reportCta(std::ostringstream& o, const CtaExtension& c) {
    o << "CTA-861 extension, revision " << c.revision << "\n";
    o << "  Underscan: " << (c.underscan ? "yes" : "no")
      << ", basic audio: " << (c.basicAudio ? "yes" : "no")
      << ", YCbCr 4:4:4: " << (c.ycbcr444 ? "yes" : "no")
      << ", YCbCr 4:2:2: " << (c.ycbcr422 ? "yes" : "no") << "\n";
    o << "  Native detailed timings: " << c.nativeDetailed << "\n";
    if (!c.video.empty()) {
        o << "  Video:\n";
        for (const VideoMode& m : c.video) {
            o << "    " << modeText(m) << "\n";
        }
    }
    if (!c.ycbcr420Only.empty()) {
        o << "  YCbCr 4:2:0 only:\n";
        for (const VideoMode& m : c.ycbcr420Only) {
            o << "    " << modeText(m) << "\n";
        }
    }
    if (!c.audio.empty()) {
        o << "  Audio:\n";
        for (const AudioFormat& a : c.audio) {
            o << "    " << audioText(a) << "\n";
        }
    }
    if (!c.speakers.empty()) {
        o << "  Speakers: " << joined(c.speakers, " ") << "\n";
    }
    if (c.hdmi) {
        o << "  HDMI: physical address " << c.hdmi->physicalAddress;
        if (!c.hdmi->deepColour.empty()) {
            o << ", " << joined(c.hdmi->deepColour, " ");
        }
        if (c.hdmi->maxTmdsMhz > 0) {
            o << ", max TMDS clock " << c.hdmi->maxTmdsMhz << " MHz";
        }
        o << "\n";
    }
    if (c.hdmiForum) {
        o << "  HDMI Forum: version " << c.hdmiForum->version << ", max TMDS character rate "
          << c.hdmiForum->maxTmdsMhz << " MHz" << (c.hdmiForum->scdc ? ", SCDC" : "");
        if (!c.hdmiForum->deepColour420.empty()) {
            o << ", " << joined(c.hdmiForum->deepColour420, " ");
        }
        o << "\n";
    }
    if (c.hdrEotfs) {
        o << "  HDR static metadata, EOTFs: " << joined(*c.hdrEotfs) << "\n";
    }
    if (!c.colorimetry.empty()) {
        o << "  Colorimetry: " << joined(c.colorimetry, " ") << "\n";
    }
    if (!c.detailed.empty()) {
        o << "  Detailed timings:\n";
        reportTimings(o, c.detailed);
    }
}

} // namespace

std::string timingText(const DetailedTiming& t) {
    return std::to_string(t.width) + "x" + std::to_string(t.height) + (t.interlaced ? "i " : " ") +
           fixed(t.refreshHz, 2) + " Hz";
}

std::string audioSummary(const EdidInfo& info) {
    if (!info.cta) {
        return "";
    }
    std::vector<std::string> order;
    std::map<std::string, int> channels;
    for (const AudioFormat& a : info.cta->audio) {
        if (!channels.count(a.name)) {
            order.push_back(a.name);
        }
        channels[a.name] = std::max(channels[a.name], a.channels);
    }
    std::vector<std::string> parts;
    for (const std::string& name : order) {
        parts.push_back(name + " " + channelsText(channels[name]));
    }
    return joined(parts);
}

std::string edidSummary(const EdidInfo& info) {
    // HDR goes with the picture on the first line; the audio list, long for a receiver, has
    // the second line to itself.
    std::string first =
        (info.name.empty() ? "Unnamed display" : info.name) + " by " + info.manufacturer;
    if (info.preferred) {
        first += ", " + timingText(*info.preferred);
    }
    if (info.cta && info.cta->hdrEotfs) {
        first += ", HDR (" + joined(*info.cta->hdrEotfs) + ")";
    }
    const std::string audio = audioSummary(info);
    return audio.empty() ? first : first + "\n" + audio;
}

std::string edidReport(const EdidInfo& info) {
    std::ostringstream o;
    o << "EDID " << info.version << ", " << info.bytes << " bytes\n";
    o << "Manufacturer: " << info.manufacturer << ", product code " << info.product << ", serial "
      << info.serial << "\n";
    o << (info.modelYear ? "Model year: " : "Made in: ");
    if (info.week > 0) {
        o << "week " << info.week << " of ";
    }
    o << info.year << "\n";
    if (!info.name.empty()) {
        o << "Name: " << info.name << "\n";
    }
    if (!info.serialText.empty()) {
        o << "Serial text: " << info.serialText << "\n";
    }
    o << (info.digital ? "Digital" : "Analog") << " display, " << info.widthCm << " cm x "
      << info.heightCm << " cm";
    if (info.gamma > 0) {
        o << ", gamma " << fixed(info.gamma, 2);
    }
    o << "\n";
    o << "Preferred timing: " << (info.preferred ? timingText(*info.preferred) : "none") << "\n";
    if (info.range) {
        const RangeLimits& r = *info.range;
        o << "Range limits: " << r.minVHz << "-" << r.maxVHz << " Hz V, " << r.minHKhz << "-"
          << r.maxHKhz << " kHz H, max pixel clock " << r.maxPixelClockMhz << " MHz\n";
    }
    if (!info.established.empty()) {
        o << "Established timings: " << joined(info.established, " ") << "\n";
    }
    if (!info.standard.empty()) {
        o << "Standard timings:";
        for (const StandardTiming& s : info.standard) {
            o << " " << s.width << "x" << s.height << "@" << s.refreshHz;
        }
        o << "\n";
    }
    if (!info.detailed.empty()) {
        o << "Detailed timings:\n";
        reportTimings(o, info.detailed);
    }
    o << "Extension blocks: " << info.extensionCount << "\n";
    if (info.cta) {
        reportCta(o, *info.cta);
    }
    o << "Checksums:";
    for (std::size_t i = 0; i < info.checksumsOk.size(); ++i) {
        o << " block " << i << (info.checksumsOk[i] ? " right" : " WRONG");
    }
    o << "\n";
    if (info.problems.empty()) {
        o << "No problems found.\n";
    } else {
        o << "Problems:\n";
        for (const std::string& p : info.problems) {
            o << "  " << p << "\n";
        }
    }
    return o.str();
}

} // namespace edidinfo
