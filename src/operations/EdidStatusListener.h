#pragma once
// What the EDID status list tells its host: each input's EDID as the matrix reports it, the end of
// the chain, and a query of the Status button's chain that went unanswered after its repeat.
#include <cstdint>

namespace zentrel::edid {

class EdidStatusListener {
public:
    // Input k's status code (statusText() gives its words).
    virtual void onStatusRead(int k, std::uint8_t code) = 0;
    // Input 4 has answered.
    virtual void onStatusDone() = 0;
    virtual void onStatusTimedOut() = 0;

protected:
    virtual ~EdidStatusListener() = default;
};

} // namespace zentrel::edid
