#pragma once
// `upgrade FILE`: the panel's firmware transfer run on the tool's session. The file is read and
// checked as the FW Upgrade page reads it, before the link opens; the transfer's progress goes
// to the bar, and how it ends becomes the exit status with the page's own words.
#include "CtlSession.h"
#include "UpgradeBar.h"

#include "operations/FirmwareImage.h"
#include "operations/UpgradeListener.h"

#include <optional>
#include <string>

namespace zentrel::cli {

class CtlUpgrade : private UpgradeListener {
public:
    CtlUpgrade(std::string path, UpgradeBar::Style style)
        : path_(std::move(path)), bar_(stderr, style) {}

    // Reads the file; a refusal (what the tool adds to the page's words) when it is none the
    // page would send.
    std::optional<CtlSession::Outcome> load();
    CtlSession::Outcome run(CtlSession& session);

private:
    void upgradePart(const UpgradeProgress& p) override;
    void upgradeProgress(const UpgradeProgress& p) override;
    void upgradeLine(const char* line) override;
    void upgradeNotice(const char* text, bool) override { notice_ = text; }
    void upgradeBox(const char* text) override;
    void upgradeControls(bool) override {}
    void upgradeEnded(UpgradeEnd end) override;

    std::int64_t now() const;

    std::string path_;
    UpgradeBar bar_;
    FirmwareImage image_;
    CtlSession* session_ = nullptr;
    std::optional<CtlSession::Outcome> outcome_;
    bool running_ = false;
    std::string notice_;
    std::string lastLine_;
    UpgradeProgress at_{};
};

} // namespace zentrel::cli
