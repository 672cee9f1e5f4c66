#pragma once
// Everything the behaviour needs from below, handed to the application in one piece.
#include "EventLoop.h"
#include "Network.h"
#include "SerialLink.h"
#include "UiServices.h"

namespace zentrel {

struct Platform {
    EventLoop& loop;
    Network& network;
    SerialPorts& serial;
    UiServices& ui;
};

} // namespace zentrel
