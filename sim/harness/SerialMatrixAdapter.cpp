#include "SerialMatrixAdapter.h"

namespace zentrel::sim {

SerialMatrixAdapter::SerialMatrixAdapter(MatrixModel& model, VirtualEventLoop& loop,
                                         VirtualSerialPorts& ports, int com,
                                         FrameRecorder* recorder)
    : model_(model), loop_(loop), ports_(ports), com_(com), name_("COM" + std::to_string(com)),
      intake_(model.newLink()), pump_(loop, recorder) {
    ports_.attach(com_, *this);
}

SerialMatrixAdapter::~SerialMatrixAdapter() {
    ports_.detach(com_);
}

void SerialMatrixAdapter::receive(std::span<const std::uint8_t> bytes) {
    const Exchange ex = model_.receive(intake_, bytes, loop_.nowMs());
    pump_.recordInbound(ex, name_);
    for (const Reply& r : ex.out) {
        sendUnprompted(r);
    }
}

void SerialMatrixAdapter::sendUnprompted(const Reply& reply) {
    pump_.send(reply, name_,
               [this](std::span<const std::uint8_t> bytes) { ports_.sendToPanel(com_, bytes); });
}

} // namespace zentrel::sim
