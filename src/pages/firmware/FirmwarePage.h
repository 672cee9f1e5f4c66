#pragma once
// The FW Upgrade page (dialog 143): loads a firmware file and sends it to the matrix part by
// part, and shows the device and version line when its tab is chosen. The page owns its link
// and the loaded image; it runs the transfer and shows what the transfer reports, and hands
// each reply to the transfer and then the device line.
#include "DeviceLine.h"
#include "FirmwareIds.h"
#include "app/PageShell.h"
#include "operations/FirmwareImage.h"
#include "operations/UpgradeListener.h"
#include "operations/UpgradeTransfer.h"
#include "platform/SerialLink.h"
#include "platform/UiServices.h"
#include "platform/Window.h"
#include "session/PageLink.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace zentrel {

class FirmwarePage : public PageShell, private UpgradeListener {
public:
    explicit FirmwarePage(PageContext& ctx);
    ~FirmwarePage() override;

    // --- Page ------------------------------------------------------------------------------
    const DialogTemplate& pageTemplate() const override;
    void activate() override { device_.activate(); }
    void onAnyPageSwitch() override { idle_ = true; }
    void onSelected() override;

    // --- Window ----------------------------------------------------------------------------
    void onInitDialog() override;
    void onCommand(int id, int code) override;
    void onTimer(int id) override;
    LParam onMessage(unsigned msg, WParam wp, LParam lp) override;

    // --- what the parts share ----------------------------------------------------------------
    UiServices& ui();
    const FirmwareImage& image() const { return image_; }
    // A frame of the page: routed by ControlMode; the send log only gets a line break.
    void sendFrame(const CommandFrame& frame);

    // Inspection, for tests.
    const UpgradeTransfer& transfer() const { return transfer_; }
    bool idle() const { return idle_; }

private:
    // --- UpgradeListener -----------------------------------------------------------------------
    void upgradePart(const UpgradeProgress& p) override;
    void upgradeProgress(const UpgradeProgress& p) override;
    void upgradeLine(const char* line) override { appendText(fw::kMessages, line); }
    void upgradeNotice(const char* text, bool evenOverOne) override;
    void upgradeBox(const char* text) override;
    void upgradeControls(bool enabled) override;
    void upgradeEnded(UpgradeEnd) override {}

    void openFile();
    void onTcpNotification(WParam wp, LParam lp);
    void dispatch(const LinkedFrame& reply);
    void onStandby();
    void keepTail(int logId);

    FirmwareImage image_;
    UpgradeTransfer transfer_;
    DeviceLine device_;
    bool idle_ = true;
};

} // namespace zentrel
