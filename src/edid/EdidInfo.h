#pragma once
// What an EDID says, as plain values: the result of decodeEdid(). Nothing here refers to the rest
// of the program, so the panel, the command-line tool and the tests all read the same struct.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace edidinfo {

struct DetailedTiming {
    int width = 0;
    int height = 0; // the frame's lines: twice the field's for an interlaced timing
    double refreshHz = 0;
    bool interlaced = false;
    double pixelClockMhz = 0;
    int hFront = 0, hSync = 0, hBack = 0, vFront = 0, vSync = 0, vBack = 0;
    int hBorder = 0, vBorder = 0;
    int widthMm = 0, heightMm = 0;
};

struct StandardTiming {
    int width = 0;
    int height = 0;
    int refreshHz = 0;
};

struct RangeLimits {
    int minVHz = 0, maxVHz = 0, minHKhz = 0, maxHKhz = 0, maxPixelClockMhz = 0;
};

struct VideoMode {
    int vic = 0;
    int width = 0, height = 0; // 0 when the VIC is not one the table knows
    double refreshHz = 0;
    bool interlaced = false;
    bool native = false;
    bool ycbcr420 = false; // also (or only) sent as YCbCr 4:2:0
};

struct AudioFormat {
    int code = 0;     // the CTA audio format code, 1 (LPCM) .. 15
    std::string name; // "LPCM", "AC-3", ...
    int channels = 0;
    std::vector<double> ratesKhz;
    std::vector<int> bitDepths; // LPCM only
    int maxBitrateKbps = 0;     // the compressed formats 2..8 only
};

struct HdmiBlock {
    std::string physicalAddress; // "1.0.0.0"
    std::vector<std::string> deepColour;
    int maxTmdsMhz = 0; // 0: not given
};

struct HdmiForumBlock {
    int version = 0;
    int maxTmdsMhz = 0;
    bool scdc = false;
    std::vector<std::string> deepColour420;
};

struct CtaExtension {
    int revision = 0;
    bool underscan = false, basicAudio = false, ycbcr444 = false, ycbcr422 = false;
    int nativeDetailed = 0;
    std::vector<VideoMode> video;
    std::vector<VideoMode> ycbcr420Only;
    std::vector<AudioFormat> audio;
    std::vector<std::string> speakers;
    std::optional<HdmiBlock> hdmi;
    std::optional<HdmiForumBlock> hdmiForum;
    std::optional<std::vector<std::string>> hdrEotfs;
    std::vector<std::string> colorimetry;
    std::vector<DetailedTiming> detailed;
};

struct EdidInfo {
    std::size_t bytes = 0;
    std::string version; // "1.3"
    std::string manufacturer;
    int product = 0;
    std::uint32_t serial = 0;
    int week = 0; // 0: not given; the year is then the year made or the model year
    int year = 0;
    bool modelYear = false;
    bool digital = false;
    int widthCm = 0, heightCm = 0;
    double gamma = 0; // 0: not given
    bool preferredFlag = false;
    std::vector<std::string> established;
    std::vector<StandardTiming> standard;
    std::vector<DetailedTiming> detailed;
    std::optional<DetailedTiming> preferred;
    std::string name;
    std::string serialText;
    std::optional<RangeLimits> range;
    int extensionCount = 0;
    std::optional<CtaExtension> cta;
    std::vector<bool> checksumsOk;
    std::vector<std::string> problems;

    // A file the matrix may take: every checksum right and nothing structurally wrong.
    bool valid() const;
};

} // namespace edidinfo
