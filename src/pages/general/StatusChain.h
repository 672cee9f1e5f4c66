#pragma once
// The "Device Information" group: Status asks the matrix for the state of input 1, output 1,
// input 2, ... output 4, one query after each reply, and shows each answer in its port line in
// green or red. A device-type reply, whenever one arrives on the serial line, leads through the
// model and firmware version to the same chain. Every query is repeated once after 5 s of
// silence; the second silence gives up with "Time out!".
#include "protocol/CommandFrame.h"
#include "session/PendingRequest.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zentrel {

class GeneralPage;

class StatusChain {
public:
    explicit StatusChain(GeneralPage& page);

    // The page's opening: the colours of the port lines.
    void open();
    // Status (button 1025 and the hidden radio 1180).
    void start();
    // Clear: empties the port lines.
    void clear();
    bool onTimer(int id);
    // Acts on a reply of the chain; false when the frame is not one.
    bool onReply(const CommandFrame& f, bool serial, bool checksumPassed);

    // While muted, port replies over TCP are ignored: set by TCP Connect, by Status when it
    // must connect first and by every return to the page.
    void muteTcpReplies() { tcpMuted_ = true; }
    bool tcpMuted() const { return tcpMuted_; }
    // The connect that Status was waiting for was dropped.
    void abandonConnect() { connectPending_ = false; }
    // The matrix went into standby: the page has stopped every wait, so a running chain can
    // never end by itself; it ends here and gives the tabs back.
    void stopForStandby();
    bool connectPending() const { return connectPending_; }
    int busy() const { return busy_; }
    // Whether port line `line` (an id of 1188..1195 or 1198..1205) shows a connection.
    bool lineConnected(int line) const;

private:
    enum class Side { Input, Output };

    void startTcpChain();
    void afterStatusConnect();
    void sendInputQuery(int k);
    void showPort(Side side, int k, bool connected);
    void onDeviceInfo(const CommandFrame& f);
    void onPort(const CommandFrame& f, bool serial);
    void giveUpPorts();
    void giveUpDeviceInfo();
    PendingRequest& inputRequest(int k) { return inputs_[static_cast<std::size_t>(k - 1)]; }
    PendingRequest& outputRequest(int k) { return outputs_[static_cast<std::size_t>(k - 1)]; }
    void end();
    void unlock();

    GeneralPage& page_;
    PendingRequest model_;
    PendingRequest version_;
    std::vector<PendingRequest> inputs_;
    std::vector<PendingRequest> outputs_;
    bool tcpMuted_ = true;
    bool connectPending_ = false;
    int busy_ = 0;
    std::string deviceText_;
    std::array<bool, 8> inputConnected_{};
    std::array<bool, 8> outputConnected_{};
};

} // namespace zentrel
