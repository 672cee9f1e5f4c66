#include "edid/EdidJson.h"

#include <cmath>

namespace edidinfo {
namespace {

double hundredths(double v) {
    return std::round(v * 100) / 100;
}

} // namespace

nlohmann::json edidJson(const EdidInfo& info) {
    using nlohmann::json;
    json j;
    j["bytes"] = info.bytes;
    j["version"] = info.version;
    j["manufacturer"] = info.manufacturer;
    j["product"] = info.product;
    j["serial"] = info.serial;
    j["week"] = info.week;
    j["year"] = info.year;
    j["name"] = info.name.empty() ? json(nullptr) : json(info.name);
    if (info.preferred) {
        const DetailedTiming& t = *info.preferred;
        j["preferred"] = {{"width", t.width},
                          {"height", t.height},
                          {"refresh_hz", hundredths(t.refreshHz)},
                          {"interlaced", t.interlaced},
                          {"pixel_clock_mhz", t.pixelClockMhz}};
    } else {
        j["preferred"] = nullptr;
    }
    j["video"] = json::array();
    j["audio"] = json::array();
    j["hdr"] = nullptr;
    if (info.cta) {
        for (const VideoMode& m : info.cta->video) {
            j["video"].push_back({{"vic", m.vic},
                                  {"width", m.width},
                                  {"height", m.height},
                                  {"refresh_hz", hundredths(m.refreshHz)},
                                  {"interlaced", m.interlaced},
                                  {"native", m.native}});
        }
        for (const AudioFormat& a : info.cta->audio) {
            j["audio"].push_back(
                {{"format", a.name}, {"channels", a.channels}, {"rates_khz", a.ratesKhz}});
        }
        if (info.cta->hdrEotfs) {
            j["hdr"] = {{"eotfs", *info.cta->hdrEotfs}};
        }
    }
    j["checksums_ok"] = info.checksumsOk;
    j["problems"] = info.problems;
    return j;
}

} // namespace edidinfo
