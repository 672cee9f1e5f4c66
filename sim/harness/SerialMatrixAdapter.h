#pragma once
// The simulated matrix at the far end of a virtual COM port. The virtual port gives every byte
// its wire time in both directions; the adapter adds the model's own reply latency.
#include "ReplyPump.h"
#include "platform/sim/SerialFarEnd.h"
#include "platform/sim/VirtualSerialPorts.h"
#include "sim/model/MatrixModel.h"

#include <string>

namespace zentrel::sim {

class SerialMatrixAdapter : public SerialFarEnd {
public:
    SerialMatrixAdapter(MatrixModel& model, VirtualEventLoop& loop, VirtualSerialPorts& ports,
                        int com, FrameRecorder* recorder = nullptr);
    // Unplugs the matrix: the port vanishes.
    ~SerialMatrixAdapter() override;
    SerialMatrixAdapter(const SerialMatrixAdapter&) = delete;
    SerialMatrixAdapter& operator=(const SerialMatrixAdapter&) = delete;

    void receive(std::span<const std::uint8_t> bytes) override;
    void sendUnprompted(const Reply& reply);
    const std::string& name() const { return name_; }

private:
    MatrixModel& model_;
    VirtualEventLoop& loop_;
    VirtualSerialPorts& ports_;
    int com_;
    std::string name_;
    WireIntake intake_;
    ReplyPump pump_;
};

} // namespace zentrel::sim
