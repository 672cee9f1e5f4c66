#pragma once
// `config`: the configuration exchange and the search again, run without the dialog and its
// box. The record goes out as the dialog sends it, on the broadcast socket of a discovery that
// this window holds, and the run waits for the answer as long as the box does. After an
// acceptance the matrix is searched for again with the panel's waits, so the tool can say where
// the matrix went; a matrix that is not found again has still confirmed its record.
#include "CtlReport.h"
#include "CtlRequest.h"

#include "link/Discovery.h"
#include "operations/ConfigExchange.h"
#include "operations/ConfigSearchAgain.h"
#include "platform/Network.h"
#include "platform/Window.h"
#include "state/SharedState.h"

#include <optional>
#include <string>

namespace zentrel::cli {

class ConfigRun : public Window, private ConfigListener, private ConfigSearchListener {
public:
    struct Settings {
        ConfigRecord::Mac target{};
        bool automatic = false;
        ConfigRecord::Ipv4 ip{}, mask{}, gateway{};
        ConfigRecord::Mac newMac{};
    };
    enum class End { Found, NotFoundAgain, Refused, NoAnswer, NotSent };

    ConfigRun(EventLoop& loop, Network& network);

    // The settings of `config`'s operands, or why they do not hold.
    static std::optional<Settings> settings(const CtlRequest& request, std::string& problem);

    End run(const Settings& settings);
    // The address the matrix was found at again (End::Found).
    const std::string& foundIp() const { return foundIp_; }

    LParam onMessage(unsigned msg, WParam wp, LParam lp) override;
    void onTimer(int id) override;

private:
    void onConfigAccepted() override;
    void onConfigRefused() override;
    void onConfigText(const std::string&) override {}
    void onSearchNow() override;
    void onSearchGivenUp() override { finish(End::NotFoundAgain); }
    void finish(End end);

    SharedState state_;
    Discovery discovery_;
    ConfigExchange exchange_;
    ConfigSearchAgain again_;
    std::string newMac_; // as discovery reports it: 12 upper-case hex digits
    std::string foundIp_;
    End end_ = End::NoAnswer;
    bool accepted_ = false;
};

// Runs `config` and reports it; returns the exit status.
int runConfig(const CtlRequest& request, CtlReport& report, EventLoop& loop, Network& network);

} // namespace zentrel::cli
