// Every sample EDID decodes to what the reference decoder printed for it: the fields of
// summary.tsv (parsed from that output) and the video codes listed in its text.
#include "edid/EdidDecoder.h"
#include "edid/EdidJson.h"
#include "edid/EdidText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

namespace {

using namespace edidinfo;

const std::string samples = EDID_SAMPLES;

std::vector<std::string> split(const std::string& line, char sep) {
    std::vector<std::string> parts;
    std::stringstream ss(line);
    std::string part;
    while (std::getline(ss, part, sep)) {
        parts.push_back(part);
    }
    if (!line.empty() && line.back() == sep) {
        parts.push_back("");
    }
    return parts;
}

std::vector<std::uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The reference's audio list names two formats differently.
std::string referenceName(const std::string& name) {
    if (name == "One Bit Audio") {
        return "DSD";
    }
    if (name == "MAT") {
        return "TrueHD/MAT";
    }
    return name;
}

// "VIC  16:  1920x1080   60.000000 Hz ... (native)" lines of the video data blocks, and of the
// YCbCr 4:2:0 video data block, as "16 1920x1080 60.000 native" strings.
std::pair<std::vector<std::string>, std::vector<std::string>>
referenceVideo(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> video, only420;
    std::vector<std::string>* into = nullptr;
    const std::regex vic(R"(^    VIC +(\d+): +(\d+)x(\d+)(i?) +([\d.]+) Hz.*?( \(native\))?$)");
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("  ", 0) == 0 && line[2] != ' ') {
            into = line == "  Video Data Block:"               ? &video
                   : line == "  YCbCr 4:2:0 Video Data Block:" ? &only420
                                                               : nullptr;
            continue;
        }
        std::smatch m;
        if (into && std::regex_match(line, m, vic)) {
            char buf[96];
            std::snprintf(buf, sizeof buf, "%s %sx%s%s %.3f%s", m[1].str().c_str(),
                          m[2].str().c_str(), m[3].str().c_str(), m[4].str().c_str(),
                          std::stod(m[5].str()), m[6].matched ? " native" : "");
            into->push_back(buf);
        }
    }
    return {video, only420};
}

std::vector<std::string> decodedVideo(const std::vector<VideoMode>& modes) {
    std::vector<std::string> out;
    for (const VideoMode& v : modes) {
        char buf[96];
        std::snprintf(buf, sizeof buf, "%d %dx%d%s %.3f%s", v.vic, v.width, v.height,
                      v.interlaced ? "i" : "", v.refreshHz, v.native ? " native" : "");
        out.push_back(buf);
    }
    return out;
}

TEST(EdidSamples, EveryFieldAgreesWithTheReference) {
    std::ifstream table(samples + "/summary.tsv");
    std::string line;
    std::getline(table, line);
    int count = 0;
    while (std::getline(table, line)) {
        const std::vector<std::string> f = split(line, '\t');
        ASSERT_EQ(f.size(), 13u) << line;
        const std::string& name = f[0];
        SCOPED_TRACE(name);
        const EdidInfo info = decodeEdid(readBytes(samples + "/bin/" + name + ".bin"));
        EXPECT_EQ(std::to_string(info.bytes), f[1]);
        EXPECT_EQ(info.version, f[2]);
        EXPECT_EQ(info.manufacturer, f[3]);
        EXPECT_EQ(std::to_string(info.product), f[4]);
        EXPECT_EQ(info.name, f[5]);
        ASSERT_TRUE(info.preferred.has_value());
        int w = 0, h = 0;
        double hz = 0;
        ASSERT_EQ(std::sscanf(f[6].c_str(), "%dx%d %lf Hz", &w, &h, &hz), 3);
        EXPECT_EQ(info.preferred->width, w);
        EXPECT_EQ(info.preferred->height, h);
        EXPECT_NEAR(info.preferred->refreshHz, hz, 0.005);
        EXPECT_EQ(info.preferred->interlaced, f[7] == "yes");
        EXPECT_EQ(info.cta.has_value(), f[8] == "yes");
        std::vector<std::string> audio;
        if (info.cta) {
            for (const AudioFormat& a : info.cta->audio) {
                audio.push_back(referenceName(a.name) + " " + std::to_string(a.channels) + "ch");
            }
        }
        EXPECT_EQ(audio, f[9].empty()
                             ? std::vector<std::string>{}
                             : split(std::regex_replace(f[9], std::regex(", "), "|"), '|'));
        EXPECT_EQ(info.cta && info.cta->hdrEotfs.has_value(), f[10] == "yes");
        EXPECT_EQ(info.valid(), f[12] == "yes");
        const auto [video, only420] = referenceVideo(samples + "/expected/" + name + ".txt");
        EXPECT_EQ(info.cta ? decodedVideo(info.cta->video) : std::vector<std::string>{}, video);
        EXPECT_EQ(info.cta ? decodedVideo(info.cta->ycbcr420Only) : std::vector<std::string>{},
                  only420);
        // The renderings hold what they are for.
        const std::string summary = edidSummary(info);
        EXPECT_NE(summary.find(info.manufacturer), std::string::npos);
        EXPECT_EQ(edidJson(info)["manufacturer"], f[3]);
        ++count;
    }
    EXPECT_EQ(count, 60);
}

} // namespace
