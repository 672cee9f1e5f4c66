#pragma once
// `status` on the General page's status chain. On the serial line the device type is asked
// first, and its reply leads through the model and version to the ports, as the reply the
// matrix sends after power-on does on the page; over TCP the page takes no device information,
// so only the ports are asked and the device fields stay null.
#include "CtlSession.h"

#include "operations/StatusChain.h"

#include <nlohmann/json.hpp>

#include <array>
#include <optional>
#include <string>

namespace zentrel::cli {

class StatusRun : public StatusChainListener {
public:
    explicit StatusRun(CtlSession& session) : session_(session), chain_(session.host(), *this) {}

    CtlSession::Outcome run();
    nlohmann::json json() const;
    // Short aligned lines for people.
    std::string lines() const;

    void onDeviceLine(const std::string& text) override;
    void onVersionLine(const std::string& text) override { version_ = text; }
    void onPortState(bool input, int k, bool connected) override;
    void onProgressLine(const std::string& /*text*/) override {}
    void onChainDone() override { session_.finish({}); }
    void onPortsTimedOut() override;
    void onDeviceInfoTimedOut() override;

private:
    CtlSession& session_;
    StatusChain chain_;
    std::optional<std::string> device_, model_, version_;
    std::array<std::optional<bool>, ops::kMaxPorts> inputs_{}, outputs_{};
    std::string awaited_ = "input 1"; // the port whose answer comes next
};

} // namespace zentrel::cli
