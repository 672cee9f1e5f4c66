#include "SerialChannelPorts.h"

#include "SerialChannel.h"

namespace zentrel {

std::unique_ptr<SerialLink> SerialChannelPorts::createLink() {
    return std::make_unique<SerialChannel>(loop_);
}

} // namespace zentrel
