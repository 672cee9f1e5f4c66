#pragma once
// `routing` and `route` on the Matrix page's status refresh and switch engine. `routing` reads
// outputs A..D back as the page does each time it is shown; `route` switches the outputs one
// after another as the output panel does, each after the matrix acknowledged the one before.
#include "CtlSession.h"

#include "operations/StatusRefresh.h"
#include "operations/SwitchEngine.h"

#include <nlohmann/json.hpp>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace zentrel::cli {

class RouteRun : public SwitchListener, public RefreshListener {
public:
    explicit RouteRun(CtlSession& session)
        : session_(session), engine_(session.host(), *this), refresh_(session.host(), *this) {}

    CtlSession::Outcome readRouting();
    // Routes `input` (1-based) to `outputs` (1-based), in their order.
    CtlSession::Outcome route(int input, std::vector<int> outputs);
    // Routes as the Matrix page's "Set" applies a stored routing: the engine's sequence from
    // output 1 on, each output after the one before was acknowledged, with `inputs` (1-based;
    // 0 leaves the working routing as it is) taken as the working routing.
    CtlSession::Outcome apply(const std::array<int, ops::kOutputs>& inputs);
    nlohmann::json json() const;
    std::string lines() const;

    void onWaiting() override {}
    void onAcknowledged() override {}
    void onRouted(int k, int input) override;
    void onRefused(int k) override;
    void onSwitchTimedOut() override;
    void onRoutingRead(int k, std::uint8_t input, bool serial) override;
    void onRefreshDone() override { session_.finish({}); }
    void onRefreshTimedOut() override;

private:
    CtlSession::Outcome run();
    void next();

    CtlSession& session_;
    SwitchEngine engine_;
    StatusRefresh refresh_;
    int input_ = 0;
    bool sequence_ = false; // a stored routing applied, not one input routed
    std::vector<int> outputs_;
    std::size_t done_ = 0; // outputs switched
    std::array<std::optional<int>, ops::kOutputs> routing_{};
    int awaited_ = 1; // the output asked or switched now
};

} // namespace zentrel::cli
