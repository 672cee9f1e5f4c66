#include "SimOptions.h"

#include <cctype>
#include <charconv>

namespace zentrel::sim {

namespace {

long long parseNumber(const std::string& option, const std::string& text, long long lo,
                      long long hi) {
    long long v = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, v);
    if (text.empty() || ec != std::errc() || ptr != end || v < lo || v > hi) {
        throw UsageError(option + " takes a whole number from " + std::to_string(lo) + " to " +
                         std::to_string(hi) + ", not '" + text + "'");
    }
    return v;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

} // namespace

std::array<std::uint8_t, 4> SimOptions::parseIpv4(const std::string& text) {
    std::array<std::uint8_t, 4> out{};
    std::size_t start = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t dot = text.find('.', start);
        const bool last = i == 3;
        if (last != (dot == std::string::npos)) {
            throw UsageError("'" + text + "' is not an IPv4 address like 192.0.2.10");
        }
        const std::string part = text.substr(start, last ? std::string::npos : dot - start);
        if (part.empty() || part.size() > 3) {
            throw UsageError("'" + text + "' is not an IPv4 address like 192.0.2.10");
        }
        out[i] = static_cast<std::uint8_t>(parseNumber("an address part", part, 0, 255));
        start = dot + 1;
    }
    return out;
}

std::array<std::uint8_t, 6> SimOptions::parseMac(const std::string& text) {
    std::string digits;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool separator = c == ':' || c == '-';
        if (separator && i % 3 == 2 && text.size() == 17) {
            continue;
        }
        digits += c;
    }
    std::array<std::uint8_t, 6> out{};
    if (digits.size() != 12) {
        throw UsageError("'" + text + "' is not a MAC address like 02:5A:45:4E:00:01 or " +
                         "025A454E0001");
    }
    for (std::size_t i = 0; i < 6; ++i) {
        const int hi = hexDigit(digits[2 * i]);
        const int lo = hexDigit(digits[2 * i + 1]);
        if (hi < 0 || lo < 0) {
            throw UsageError("'" + text + "' is not a MAC address like 02:5A:45:4E:00:01");
        }
        out[i] = static_cast<std::uint8_t>(hi * 16 + lo);
    }
    return out;
}

SimOptions SimOptions::parse(const std::vector<std::string>& args) {
    SimOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> inlineValue;
        if (const std::size_t eq = name.find('=');
            name.rfind("--", 0) == 0 && eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name = name.substr(0, eq);
        }
        auto value = [&]() -> std::string {
            if (inlineValue) {
                return *inlineValue;
            }
            if (i + 1 >= args.size()) {
                throw UsageError(name + " needs a value");
            }
            return args[++i];
        };
        auto flag = [&] {
            if (inlineValue) {
                throw UsageError(name + " takes no value");
            }
        };
        if (name == "--help" || name == "-h") {
            flag();
            o.help = true;
        } else if (name == "--version") {
            flag();
            o.version = true;
        } else if (name == "--tcp") {
            const std::string v = value();
            const std::size_t colon = v.rfind(':');
            if (colon == std::string::npos) {
                throw UsageError("--tcp takes ADDRESS:PORT, for example 127.0.0.1:8000");
            }
            o.tcpAddress = v.substr(0, colon);
            parseIpv4(o.tcpAddress);
            o.tcpPort = static_cast<std::uint16_t>(
                parseNumber("--tcp's port", v.substr(colon + 1), 0, 65535));
            o.tcp = true;
        } else if (name == "--no-tcp") {
            flag();
            o.tcp = false;
        } else if (name == "--com") {
            o.com = static_cast<int>(parseNumber("--com", value(), 1, 19));
        } else if (name == "--udp") {
            flag();
            o.udp = true;
        } else if (name == "--udp-on-any-network") {
            flag();
            o.udpOnAnyNetwork = true;
        } else if (name == "--mac") {
            o.mac = parseMac(value());
        } else if (name == "--ip") {
            o.ip = parseIpv4(value());
        } else if (name == "--latency") {
            o.latencyMs = parseNumber("--latency", value(), 0, 60'000);
        } else if (name == "--reboot-ms") {
            o.rebootMs = parseNumber("--reboot-ms", value(), 0, 600'000);
        } else if (name == "--upgrade-reboot-ms") {
            o.upgradeRebootMs = parseNumber("--upgrade-reboot-ms", value(), 0, 600'000);
        } else if (name == "--fw-out") {
            o.firmwareOut = value();
            if (o.firmwareOut.empty()) {
                throw UsageError("--fw-out takes the path of the file to write");
            }
        } else if (name == "--size") {
            const std::string v = value();
            if (v != "4x4" && v != "8x8") {
                throw UsageError("--size takes 4x4 or 8x8, not '" + v + "'");
            }
            o.ports = v == "8x8" ? 8 : 4;
        } else if (name == "--fault") {
            try {
                o.faults.push_back(FaultParser::parse(value()));
            } catch (const std::invalid_argument& e) {
                throw UsageError(e.what());
            }
        } else {
            throw UsageError("unknown argument '" + args[i] + "'");
        }
    }
    if (!o.tcp && !o.com && !o.udp) {
        throw UsageError("--no-tcp leaves nothing to serve: add --com N or --udp");
    }
    return o;
}

std::string SimOptions::usage() {
    return std::string(
               "Usage: zentrel-matrix-sim [OPTION...]\n"
               "A simulated 4x4 or 8x8 HDMI matrix for the Zentrel control panel. It logs every\n"
               "frame in and out on standard output and ends cleanly on SIGINT or SIGTERM.\n"
               "\n"
               "  --size 4x4|8x8       the unit's inputs and outputs (default 4x4)\n"
               "  --tcp ADDRESS:PORT   serve the control connection (default 127.0.0.1:8000;\n"
               "                       port 0 takes any free port and logs it)\n"
               "  --no-tcp             no TCP control connection\n"
               "  --com N              publish a pseudo-terminal as COMN (1..19) in the panel's\n"
               "                       port directory ($XDG_RUNTIME_DIR/zentrel/ports, or\n"
               "                       /tmp/zentrel-UID/ports)\n"
               "  --udp                answer discovery (UDP 30600) and configuration records\n"
               "                       (UDP 30601) by broadcast. Run it only inside a private\n"
               "                       network namespace; it refuses to start beside an\n"
               "                       interface that reaches a real network\n"
               "  --udp-on-any-network allow --udp outside such a namespace\n"
               "  --mac MAC            the unit's MAC address (default 02:5A:45:4E:00:01)\n"
               "  --ip ADDRESS         the IPv4 address it reports (default: the TCP address,\n"
               "                       or 127.0.0.1)\n"
               "  --latency MS         time from a request to its reply (default 5)\n"
               "  --reboot-ms MS       silence after the reboot command (default 3000)\n"
               "  --upgrade-reboot-ms MS  silence after a firmware part (default 5000)\n"
               "  --fw-out PATH        after each firmware part's completion, write the image\n"
               "                       received so far to PATH: the parts in order, 256 bytes\n"
               "                       per block as the blocks carried them\n") +
           FaultParser::help() +
           "  --help               show this text\n"
           "  --version            show the version\n";
}

} // namespace zentrel::sim
