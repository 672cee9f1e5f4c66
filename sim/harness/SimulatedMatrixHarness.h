#pragma once
// A virtual clock with a simulated matrix attached, for tests that read as a user's story:
// build the panel on loop(), serialPorts() and network(), click, advance time, then assert
// on the frames each way and on what the panel shows.
//
//   SimulatedMatrixHarness h;                 // matrix on COM3 and on TCP 192.168.1.100:8000
//   h.faults().add(...);                      // optional misbehaviour
//   ... click Status ...
//   h.advance(5000);
//   EXPECT_EQ(h.toMatrix(), (std::vector<std::string>{frame({0x01, 0x04, 0x01}), ...}));
#include "FrameRecorder.h"
#include "SerialMatrixAdapter.h"
#include "TcpMatrixAdapter.h"
#include "UdpMatrixAdapter.h"
#include "platform/sim/VirtualEventLoop.h"
#include "platform/sim/VirtualNetwork.h"
#include "platform/sim/VirtualSerialPorts.h"
#include "sim/model/MatrixModel.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zentrel::sim {

class SimulatedMatrixHarness {
public:
    struct Options {
        std::optional<int> com = 3; // COM number of the matrix; none: no serial port
        bool tcp = true;            // listen on matrixIp:tcpPort
        bool udp = true;            // answer discovery and configuration
        std::string matrixIp = "192.168.1.100";
        std::uint16_t tcpPort = 8000;
        std::string panelIp = "192.168.1.10"; // the panel's own address on the segment
        MatrixState state = MatrixState::factory();
        ModelTiming timing{};
    };

    SimulatedMatrixHarness();
    explicit SimulatedMatrixHarness(Options options);
    ~SimulatedMatrixHarness();
    SimulatedMatrixHarness(const SimulatedMatrixHarness&) = delete;
    SimulatedMatrixHarness& operator=(const SimulatedMatrixHarness&) = delete;

    // What the panel is built on.
    VirtualEventLoop& loop() { return loop_; }
    VirtualSerialPorts& serialPorts() { return ports_; }
    VirtualNetwork& network() { return network_; }

    MatrixModel& matrix() { return model_; }
    MatrixState& state() { return model_.state(); }
    FaultPlan& faults() { return model_.faults(); }
    FrameRecorder& frames() { return recorder_; }
    const Options& options() const { return options_; }

    void advance(std::int64_t ms) { loop_.advance(ms); }

    // Every unit the panel sent to the matrix / every reply the matrix sent, as hex.
    std::vector<std::string> toMatrix() const { return recorder_.toMatrix(); }
    std::vector<std::string> fromMatrix() const { return recorder_.fromMatrix(); }
    std::string transcript() const { return recorder_.transcript(); }
    void clearFrames() { recorder_.clear(); }

    // Unprompted frames, on the serial port and every open TCP connection.
    void announceStandby();
    void sendEdidSwitchReport(std::uint8_t code);

    // Pulls the matrix's serial cable: the COM port vanishes (the panel sees a line failure).
    void unplugSerial();
    // Raw bytes from the matrix on every open TCP connection, in one send.
    void sendTcpBytes(std::span<const std::uint8_t> bytes);
    // The matrix resets every open TCP connection (the panel sees each one closed); it goes on
    // accepting new ones.
    void resetTcp();
    int tcpConnectionsOpen() const { return tcp_ ? tcp_->connectionsOpen() : 0; }
    // Makes the matrix ignore discovery and configuration (switched off, or not on the segment).
    void setUdpSilent(bool silent);

    // "A5 5B ..." of the frame with bytes 2.. as given and its checksum.
    static std::string frame(std::initializer_list<std::uint8_t> from2);

private:
    void broadcast(const Reply& reply);

    Options options_;
    VirtualEventLoop loop_;
    VirtualSerialPorts ports_{loop_};
    VirtualNetwork network_;
    MatrixModel model_;
    FrameRecorder recorder_;
    std::unique_ptr<SerialMatrixAdapter> serial_;
    std::unique_ptr<TcpMatrixAdapter> tcp_;
    std::unique_ptr<UdpMatrixAdapter> udp_;
};

} // namespace zentrel::sim
