#pragma once
// Status: the state of input 1, output 1, input 2, ... up to the last port of the link's size
// (output 4, or output 8 on an eight-by-eight unit), one query after each reply. A
// device-type reply, whenever one arrives on the serial line, leads through the model and the
// firmware version to the same chain. Every query is repeated once after 5 s of silence; the
// second silence gives up. The listener shows each answer; the host decides what a give-up or
// the end of the chain means for it.
#include "OperationHost.h"
#include "session/PendingRequest.h"

#include <string>
#include <vector>

namespace zentrel {

struct LinkedFrame;

namespace ops {

constexpr int kMaxPorts = 8;

// Each query waits on its first timer, is repeated once, and gives up on its second. The panel
// never asks for the device type itself (the matrix reports it after power-on); its timers are
// only stopped there.
constexpr RequestTimers kDeviceTypeWait{1, 5000, 2, 5000};
constexpr RequestTimers kModelWait{3, 5000, 4, 5000};
constexpr RequestTimers kVersionWait{5, 5000, 6, 5000};
constexpr RequestTimers kInputWaits[] = {
    {7, 5000, 8, 5000},   {11, 5000, 12, 5000}, {15, 5000, 16, 5000}, {19, 5000, 20, 5000},
    {23, 5000, 24, 5000}, {27, 5000, 28, 5000}, {31, 5000, 32, 5000}, {35, 5000, 36, 5000}};
constexpr RequestTimers kOutputWaits[] = {
    {9, 5000, 10, 5000},  {13, 5000, 14, 5000}, {17, 5000, 18, 5000}, {21, 5000, 22, 5000},
    {25, 5000, 26, 5000}, {29, 5000, 30, 5000}, {33, 5000, 34, 5000}, {37, 5000, 38, 5000}};

} // namespace ops

class StatusChainListener {
public:
    // "HDMI MATRIX", then with the model "HDMI MATRIX 4X4"; the firmware version "1.2".
    virtual void onDeviceLine(const std::string& text) = 0;
    virtual void onVersionLine(const std::string& text) = 0;
    virtual void onPortState(bool input, int k, bool connected) = 0;
    // Over TCP, what is asked next: "Getting Out1...".
    virtual void onProgressLine(const std::string& text) = 0;
    // The last port has answered.
    virtual void onChainDone() = 0;
    // A port query, or the model or version query, went unanswered after its repeat.
    virtual void onPortsTimedOut() = 0;
    virtual void onDeviceInfoTimedOut() = 0;

protected:
    virtual ~StatusChainListener() = default;
};

class StatusChain {
public:
    StatusChain(OperationHost host, StatusChainListener& listener);

    // Asks for the device type; its reply goes on through the model and version to the ports.
    void askDeviceType();
    // The chain from input 1.
    void queryPorts();
    bool onTimer(int id);
    // Acts on a reply of the chain; false when the frame is not one.
    bool onReply(const LinkedFrame& reply);

    // While muted, port replies over TCP are ignored.
    void muteTcpReplies() { tcpMuted_ = true; }
    void unmuteTcpReplies() { tcpMuted_ = false; }
    bool tcpMuted() const { return tcpMuted_; }

private:
    void sendInputQuery(int k);
    void onDeviceInfo(const CommandFrame& f);
    void onPort(const CommandFrame& f, bool serial);
    PendingRequest& inputRequest(int k) { return inputs_[static_cast<std::size_t>(k - 1)]; }
    PendingRequest& outputRequest(int k) { return outputs_[static_cast<std::size_t>(k - 1)]; }

    OperationHost host_;
    StatusChainListener& listener_;
    PendingRequest deviceType_;
    PendingRequest model_;
    PendingRequest version_;
    std::vector<PendingRequest> inputs_;
    std::vector<PendingRequest> outputs_;
    bool tcpMuted_ = true;
    std::string deviceText_;
};

} // namespace zentrel
