#pragma once
// The FW Upgrade page (dialog 143): loads a firmware file and sends it to the matrix part by
// part, and shows the device and version line when its tab is chosen. The page owns its link
// and the loaded image; the transfer and the device line are its parts, and it hands each reply
// to them in a fixed order.
#include "DeviceLine.h"
#include "FirmwareIds.h"
#include "FirmwareImage.h"
#include "UpgradeTransfer.h"
#include "app/Page.h"
#include "app/PageContext.h"
#include "app/PagePopups.h"
#include "platform/SerialLink.h"
#include "platform/UiServices.h"
#include "platform/Window.h"
#include "session/PageLink.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace zentrel {

class FirmwarePage : public Window, public Page {
public:
    explicit FirmwarePage(PageContext& ctx);
    ~FirmwarePage() override;

    // --- Page ------------------------------------------------------------------------------
    Window& window() override { return *this; }
    const PageInfo& info() const override;
    const DialogTemplate& pageTemplate() const override;
    void activate() override { device_.activate(); }
    SerialLink* serialLink() override { return link_.serial(); }
    void onAnyPageSwitch() override { idle_ = true; }
    void onSelected() override;

    // --- Window ----------------------------------------------------------------------------
    void onInitDialog() override;
    void onCommand(int id, int code) override;
    void onTimer(int id) override;
    LParam onMessage(unsigned msg, WParam wp, LParam lp) override;
    void onOk() override {}
    void onCancel() override {}

    // --- what the parts share ----------------------------------------------------------------
    SharedState& state() { return ctx_.state; }
    SerialLink& link() { return *link_.serial(); }
    UiServices& ui();
    const FirmwareImage& image() const { return image_; }
    // A frame of the page: routed by ControlMode; the send log only gets a line break.
    void sendFrame(const CommandFrame& frame);
    // A 257-byte block, as one write, announced in the send log.
    void sendBlock(std::span<const std::uint8_t> block);
    void addLine(const std::string& line) { appendText(fw::kMessages, line); }

    // The notices, closed by timer 55.
    PagePopups& popups() { return popups_; }
    // Upgrade and Open go together: a file is never replaced under a running transfer.
    void enableUpgrade(bool enabled);

    // Inspection, for tests.
    const SendLog& sendLog() const { return link_.sendLog(); }
    const UpgradeTransfer& transfer() const { return transfer_; }
    bool idle() const { return idle_; }

private:
    void openFile();
    void onTcpNotification(WParam wp, LParam lp);
    void dispatch(const LinkedFrame& reply);
    void onStandby();
    void keepTail(int logId);

    PageContext& ctx_;
    PageLink link_;
    PagePopups popups_;
    FirmwareImage image_;
    UpgradeTransfer transfer_;
    DeviceLine device_;
    bool idle_ = true;
};

} // namespace zentrel
