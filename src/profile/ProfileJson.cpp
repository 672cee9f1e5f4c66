#include "ProfileJson.h"

#include "ProfileError.h"

#include <nlohmann/json.hpp>

namespace zentrel {

using nlohmann::json;

namespace {

constexpr std::size_t kMacLength = 32;
constexpr std::size_t kIpLength = 64;

std::string dump(const json& j) {
    // A text that is not UTF-8 is written with replacement characters instead of failing.
    return j.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

json parse(const std::string& text) {
    try {
        json j = json::parse(text);
        if (!j.is_object()) {
            throw ProfileError("the file does not hold a JSON object");
        }
        return j;
    } catch (const json::parse_error& e) {
        throw ProfileError(std::string("the file is not valid JSON (") + e.what() + ")");
    }
}

std::string text(const json& value, const std::string& what, std::size_t limit) {
    if (!value.is_string()) {
        throw ProfileError(what + " is not a text");
    }
    const auto& s = value.get_ref<const std::string&>();
    if (characterCount(s) > limit) {
        throw ProfileError(what + " is longer than " + std::to_string(limit) + " characters");
    }
    return s;
}

int number(const json& value, const std::string& what, int low, int high) {
    if (!value.is_number_integer() || value.get<long long>() < low ||
        value.get<long long>() > high) {
        throw ProfileError(what + " is not a whole number from " + std::to_string(low) + " to " +
                           std::to_string(high));
    }
    return value.get<int>();
}

const json& list(const json& value, const std::string& what, std::size_t size) {
    if (!value.is_array() || value.size() != size) {
        throw ProfileError(what + " is not a list of " + std::to_string(size));
    }
    return value;
}

void names(const json& j, const char* key, const std::string& what,
           std::array<std::string, MatrixProfile::kPorts>& into) {
    if (!j.contains(key)) {
        return;
    }
    const json& items = list(j.at(key), "the " + what + " names", into.size());
    for (std::size_t k = 0; k < into.size(); ++k) {
        into[k] = text(items[k], "the name of " + what + " " + std::to_string(k + 1),
                       MatrixProfile::kNameLength);
    }
}

void readProfile(const json& j, MatrixProfile& p);

void checkVersion(const json& j) {
    if (j.contains("version")) {
        number(j.at("version"), "the version", 1, 1000);
    }
}

} // namespace

std::size_t characterCount(const std::string& utf8) {
    std::size_t count = 0;
    for (const char c : utf8) {
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return count;
}

std::string profileText(const MatrixProfile& p) {
    json routings = json::array();
    for (const StoredRouting& r : p.routings) {
        routings.push_back({{"name", r.name}, {"inputs", r.inputs}});
    }
    return dump({{"version", kProfileVersion},
                 {"inputs", p.inputNames},
                 {"outputs", p.outputNames},
                 {"routings", routings},
                 {"mac", p.mac},
                 {"ips", p.ipList}});
}

MatrixProfile matrixProfileFrom(const std::string& source) {
    const json j = parse(source);
    checkVersion(j);
    MatrixProfile p = MatrixProfile::defaults();
    readProfile(j, p);
    return p;
}

MatrixProfile importedProfile(const std::string& source, const MatrixProfile& base) {
    const json j = parse(source);
    if (!j.contains("version")) {
        throw ProfileError("the file says no version");
    }
    number(j.at("version"), "the version", 1, kProfileVersion);
    MatrixProfile p = base;
    readProfile(j, p);
    // A kept file written by hand may hold a tab in a name; what comes in from elsewhere must be
    // a name the panel and the tool could have given.
    auto check = [](const std::string& name, const std::string& what) {
        if (const std::string problem = nameProblem(name); !problem.empty()) {
            throw ProfileError("the name of " + what + " " + problem);
        }
    };
    static_assert(MatrixProfile::kRoutings == MatrixProfile::kPorts);
    for (std::size_t k = 0; k < MatrixProfile::kPorts; ++k) {
        check(p.inputNames[k], "input " + std::to_string(k + 1));
        check(p.outputNames[k], "output " + std::string(1, static_cast<char>('A' + k)));
        check(p.routings[k].name, "stored routing " + std::to_string(k + 1));
    }
    return p;
}

std::string nameProblem(const std::string& name) {
    if (characterCount(name) > MatrixProfile::kNameLength) {
        return "longer than " + std::to_string(MatrixProfile::kNameLength) + " characters";
    }
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            return "holds a control character";
        }
    }
    try {
        (void)json(name).dump(); // refuses a text that is not UTF-8
    } catch (const json::exception&) {
        return "is not UTF-8 text";
    }
    return {};
}

std::string fittedName(const std::string& name) {
    std::string fitted;
    std::size_t characters = 0;
    for (const char c : name) {
        const bool starts = (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        if (starts && ++characters > MatrixProfile::kNameLength) {
            break;
        }
        fitted += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c;
    }
    return fitted;
}

namespace {

void readProfile(const json& j, MatrixProfile& p) {
    names(j, "inputs", "input", p.inputNames);
    names(j, "outputs", "output", p.outputNames);
    if (j.contains("routings")) {
        const json& items = list(j.at("routings"), "the stored routings", p.routings.size());
        for (std::size_t r = 0; r < p.routings.size(); ++r) {
            const std::string what = "stored routing " + std::to_string(r + 1);
            if (!items[r].is_object()) {
                throw ProfileError(what + " is not an object");
            }
            if (items[r].contains("name")) {
                p.routings[r].name =
                    text(items[r].at("name"), "the name of " + what, MatrixProfile::kNameLength);
            }
            if (items[r].contains("inputs")) {
                const json& inputs =
                    list(items[r].at("inputs"), "the inputs of " + what, MatrixProfile::kPorts);
                for (std::size_t k = 0; k < p.routings[r].inputs.size(); ++k) {
                    p.routings[r].inputs[k] =
                        number(inputs[k], "an input of " + what, 0, MatrixProfile::kPorts);
                }
            }
        }
    }
    if (j.contains("mac")) {
        p.mac = text(j.at("mac"), "the MAC", kMacLength);
    }
    if (j.contains("ips")) {
        const json& ips = j.at("ips");
        if (!ips.is_array() || ips.size() > MatrixProfile::kIpListLength) {
            throw ProfileError("the address list is not a list of at most " +
                               std::to_string(MatrixProfile::kIpListLength));
        }
        p.ipList.clear();
        for (const json& ip : ips) {
            p.ipList.push_back(text(ip, "an address of the list", kIpLength));
        }
    }
}

} // namespace

std::string panelStateText(const PanelState& s) {
    json j{{"version", kProfileVersion},
           {"mode", s.controlMode == kModeTcp ? "tcp" : "com"},
           {"comPort", s.comPort},
           {"ip", s.ip},
           {"tcpPort", s.tcpPort}};
    if (s.windowPosition) {
        j["window"] = {{"x", s.windowPosition->first}, {"y", s.windowPosition->second}};
    }
    return dump(j);
}

PanelState panelStateFrom(const std::string& source) {
    const json j = parse(source);
    checkVersion(j);
    PanelState s;
    if (j.contains("mode")) {
        const std::string mode = text(j.at("mode"), "the control mode", 3);
        if (mode != "com" && mode != "tcp") {
            throw ProfileError("the control mode is neither \"com\" nor \"tcp\"");
        }
        s.controlMode = mode == "tcp" ? kModeTcp : kModeCom;
    }
    if (j.contains("comPort")) {
        s.comPort = number(j.at("comPort"), "the COM port", 0, 255);
    }
    if (j.contains("ip")) {
        s.ip = text(j.at("ip"), "the address", kIpLength);
    }
    if (j.contains("tcpPort")) {
        s.tcpPort = number(j.at("tcpPort"), "the TCP port", 1, 65535);
    }
    if (j.contains("window")) {
        const json& w = j.at("window");
        if (!w.is_object() || !w.contains("x") || !w.contains("y")) {
            throw ProfileError("the window position is not an object with x and y");
        }
        constexpr int kFar = 100000;
        s.windowPosition = std::pair{number(w.at("x"), "the window's x", -kFar, kFar),
                                     number(w.at("y"), "the window's y", -kFar, kFar)};
    }
    return s;
}

} // namespace zentrel
