#pragma once
// How a reply leaves the matrix under the fault rules that apply to it: a damaged checksum,
// stray bytes in front, cut into pieces or byte by byte, late. What the matrix means by the
// reply is the model's; this only decides the bytes on the wire and when each piece leaves.
#include "FaultRule.h"
#include "sim/model/Exchange.h"
#include "sim/model/ModelTiming.h"

#include <vector>

namespace zentrel::sim {

class ReplyShaper {
public:
    explicit ReplyShaper(const ModelTiming& timing) : timing_(timing) {}

    Reply shape(const CommandFrame& reply, const std::vector<FaultRule>& rules) const;

private:
    const ModelTiming& timing_;
};

} // namespace zentrel::sim
