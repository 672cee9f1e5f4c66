#include "ConfigRun.h"

#include <cstdio>

namespace zentrel::cli {

namespace {

DialogTemplate listTemplate() {
    return DialogTemplate{0, "config", 0, 0, {{Discovery::kIpList, ControlKind::ComboBox}}};
}

std::string hexMac(const ConfigRecord::Mac& mac) {
    std::string s;
    for (std::uint8_t b : mac) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02X", b);
        s += pair;
    }
    return s;
}

std::string colonMac(const ConfigRecord::Mac& mac) {
    const std::string hex = hexMac(mac);
    std::string s;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        s += (i == 0 ? "" : ":") + hex.substr(i, 2);
    }
    return s;
}

} // namespace

ConfigRun::ConfigRun(EventLoop& loop, Network& network)
    : Window(loop), discovery_(network, state_, *this),
      exchange_(*this, discovery_.broadcastSocket(), *this), again_(*this, *this) {
    create(listTemplate());
}

std::optional<ConfigRun::Settings> ConfigRun::settings(const CtlRequest& request,
                                                       std::string& problem) {
    Settings s;
    const std::string& target = request.operands.front();
    auto mac = ConfigRecord::mac(target);
    if (!mac) {
        problem = "not a MAC address (12 hex digits, pairs may be split by ':'): " + target;
        return std::nullopt;
    }
    s.target = *mac;
    // Like the dialog, whose MAC fields start as the matrix's own, the MAC stays unless told.
    s.newMac = *mac;
    if (request.newMac) {
        mac = ConfigRecord::mac(*request.newMac);
        // The matrix would not be reachable under a group address or one of zeros.
        if (!mac || ((*mac)[0] & 0x01) != 0 || *mac == ConfigRecord::Mac{}) {
            problem = "--new-mac: not a unicast MAC address: " + *request.newMac;
            return std::nullopt;
        }
        s.newMac = *mac;
    }
    s.automatic = request.configAuto;
    if (s.automatic) {
        return s;
    }
    const std::pair<const char*, const std::optional<std::string>*> fields[] = {
        {"--static", &request.ip}, {"--mask", &request.mask}, {"--gateway", &request.gateway}};
    ConfigRecord::Ipv4* into[] = {&s.ip, &s.mask, &s.gateway};
    for (std::size_t i = 0; i < 3; ++i) {
        const auto& text = *fields[i].second;
        const auto ip = text ? ConfigRecord::ipv4(*text) : std::nullopt;
        if (!ip) {
            problem =
                std::string(fields[i].first) + ": not a dotted IPv4 address: " + text.value_or("");
            return std::nullopt;
        }
        *into[i] = *ip;
    }
    return s;
}

ConfigRun::End ConfigRun::run(const Settings& settings) {
    ConfigRecord& record = exchange_.record();
    record.setTarget(settings.target);
    if (settings.automatic) {
        record.setAuto();
    } else {
        record.setStatic(settings.ip, settings.gateway, settings.mask);
    }
    record.setNewMac(settings.newMac);
    newMac_ = hexMac(settings.newMac);
    if (!exchange_.send()) {
        return End::NotSent;
    }
    setTimer(ConfigExchange::kAnswerTimer, ConfigExchange::kAnswerPatienceMs);
    doModal(listTemplate());
    return end_;
}

void ConfigRun::finish(End end) {
    end_ = end;
    killTimer(ConfigExchange::kAnswerTimer);
    endDialog(IDOK);
}

void ConfigRun::onConfigAccepted() {
    if (accepted_) {
        return; // the acceptance heard twice: one search follows
    }
    accepted_ = true;
    killTimer(ConfigExchange::kAnswerTimer);
    again_.accepted();
}

void ConfigRun::onConfigRefused() {
    if (!accepted_) {
        finish(End::Refused);
    }
}

void ConfigRun::onSearchNow() {
    if (discovery_.search() != Discovery::Start::Started) {
        finish(End::NotFoundAgain);
    }
}

LParam ConfigRun::onMessage(unsigned msg, WParam wp, LParam lp) {
    if (msg == WM_CONFIG_SOCKET) {
        exchange_.onNotification(wp, lp);
    } else if (msg == WM_DISCOVERY) {
        discovery_.handleNotification(wp, lp);
        // Other matrices may answer the search too: only the one configured ends it.
        for (int i = 0; i < state_.DiscoveredCount && i < itemCount(Discovery::kIpList); ++i) {
            if (state_.DiscoveredMacs[static_cast<std::size_t>(i)] == newMac_) {
                foundIp_ = control(Discovery::kIpList).items[static_cast<std::size_t>(i)];
                again_.found();
                finish(End::Found);
                break;
            }
        }
    }
    return 0;
}

void ConfigRun::onTimer(int id) {
    if (again_.onTimer(id)) {
        return;
    }
    if (id == ConfigExchange::kAnswerTimer) {
        finish(End::NoAnswer);
    }
}

int runConfig(const CtlRequest& request, CtlReport& report, EventLoop& loop, Network& network) {
    std::string problem;
    const std::optional<ConfigRun::Settings> settings = ConfigRun::settings(request, problem);
    if (!settings) {
        return report.fail(ExitCode::Usage, "config: " + problem);
    }
    ConfigRun run(loop, network);
    const ConfigRun::End end = run.run(*settings);
    const std::string mac = colonMac(settings->newMac);
    switch (end) {
    case ConfigRun::End::NotSent:
        return report.fail(ExitCode::NoLink, ConfigExchange::kFailedText,
                           "(UDP port " + std::to_string(ConfigExchange::kPort) +
                               " could not be opened)");
    case ConfigRun::End::Refused:
        return report.fail(ExitCode::Refused, ConfigExchange::kFailedText,
                           "(the matrix refused the record)");
    case ConfigRun::End::NoAnswer:
        return report.fail(ExitCode::NoAnswer, ConfigExchange::kFailedText,
                           "(no answer within " +
                               std::to_string(ConfigExchange::kAnswerPatienceMs / 1000) + " s)");
    case ConfigRun::End::Found:
        return report.done({{"mac", mac}, {"ip", run.foundIp()}},
                           std::string(ConfigSearchAgain::kConfiguredText) + "\n" + run.foundIp() +
                               "  " + mac + "\n");
    case ConfigRun::End::NotFoundAgain:
        break;
    }
    return report.done({{"mac", mac}, {"ip", nullptr}},
                       std::string(ConfigSearchAgain::kConfiguredText) + "\n" +
                           ConfigSearchAgain::kSearchFailedText + "\n");
}

} // namespace zentrel::cli
