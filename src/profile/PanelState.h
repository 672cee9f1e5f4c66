#pragma once
// How the panel was left: the control mode, the COM port and the address chosen last, and where
// the window stood, so the next start comes up the same way.
#include "state/SharedState.h"

#include <optional>
#include <string>

namespace zentrel {

struct PanelState {
    int controlMode = kModeCom;
    int comPort = 0; // 0: none chosen
    std::string ip;
    int tcpPort = 8000;
    std::optional<std::pair<int, int>> windowPosition;

    bool operator==(const PanelState&) const = default;
};

} // namespace zentrel
