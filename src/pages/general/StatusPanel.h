#pragma once
// The "Device Information" group: Status runs the status chain and shows each answer in its port
// line in green or red, with the progress box while it runs and "Time out!" when it gives up.
// Status on TCP connects first when it must, and the tabs stay locked while the chain runs.
#include "operations/StatusChain.h"

#include <array>
#include <string>

namespace zentrel {

class GeneralPage;

class StatusPanel : public StatusChainListener {
public:
    explicit StatusPanel(GeneralPage& page);

    // The page's opening: the colours of the port lines.
    void open();
    // Status (button 1025 and the hidden radio 1180).
    void start();
    // Clear: empties the port lines.
    void clear();
    bool onTimer(int id);
    // Acts on a reply of the chain; false when the frame is not one.
    bool onReply(const LinkedFrame& reply) { return chain_.onReply(reply); }

    // While muted, port replies over TCP are ignored: set by TCP Connect, by Status when it
    // must connect first and by every return to the page.
    void muteTcpReplies() { chain_.muteTcpReplies(); }
    bool tcpMuted() const { return chain_.tcpMuted(); }
    // The connect that Status was waiting for was dropped.
    void abandonConnect() { connectPending_ = false; }
    // The matrix went into standby: the page has stopped every wait, so a running chain can
    // never end by itself; it ends here and gives the tabs back.
    void stopForStandby();
    bool connectPending() const { return connectPending_; }
    int busy() const { return busy_; }
    // Whether port line `line` (an id of 1188..1195 or 1198..1205) shows a connection.
    bool lineConnected(int line) const;
    // The port lines written again with the names of the ports now.
    void showNames();

    // --- StatusChainListener ------------------------------------------------------------------
    void onDeviceLine(const std::string& text) override;
    void onVersionLine(const std::string& text) override;
    void onPortState(bool input, int k, bool connected) override;
    void onProgressLine(const std::string& text) override;
    void onChainDone() override;
    void onPortsTimedOut() override;
    void onDeviceInfoTimedOut() override;

private:
    void startTcpChain();
    void afterStatusConnect();
    void unlock();
    // "HDMI IN3: Connect", and the input's name after it when it has one.
    std::string namedPortText(bool input, int k, bool connected) const;

    GeneralPage& page_;
    StatusChain chain_;
    bool connectPending_ = false;
    int busy_ = 0;
    std::array<bool, 8> inputConnected_{};
    std::array<bool, 8> outputConnected_{};
};

} // namespace zentrel
