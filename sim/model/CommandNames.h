#pragma once
// Readable names of the frames on the wire, for the simulator's log and for test messages.
#include "protocol/CommandFrame.h"

#include <string>

namespace zentrel::sim {

enum class Direction { ToMatrix, FromMatrix };

class CommandNames {
public:
    static std::string describe(const CommandFrame& frame, Direction direction);

private:
    static std::string request(const CommandFrame& f);
    static std::string reply(const CommandFrame& f);
    static std::string firmwareRequest(const CommandFrame& f);
    static std::string firmwareReply(const CommandFrame& f);
};

} // namespace zentrel::sim
