#include "FaultPlan.h"

namespace zentrel::sim {

bool FaultPlan::wants(FaultRule::Kind kind, const CommandFrame& request) const {
    for (const FaultRule& r : rules_) {
        if (r.kind == kind && r.times != 0 && r.match.matches(request)) {
            return true;
        }
    }
    return false;
}

std::vector<FaultRule> FaultPlan::take(const CommandFrame& request) {
    std::vector<FaultRule> taken;
    for (FaultRule& r : rules_) {
        if (FaultRule::shapesReply(r.kind) && r.times != 0 && r.match.matches(request)) {
            taken.push_back(r);
            if (r.times > 0) {
                --r.times;
            }
        }
    }
    return taken;
}

const FaultRule* FaultPlan::find(FaultRule::Kind kind, const CommandFrame& request) const {
    for (const FaultRule& r : rules_) {
        if (r.kind == kind && r.times != 0 && r.match.matches(request)) {
            return &r;
        }
    }
    return nullptr;
}

void FaultPlan::use(FaultRule::Kind kind, const CommandFrame& request) {
    for (FaultRule& r : rules_) {
        if (r.kind == kind && r.times != 0 && r.match.matches(request)) {
            if (r.times > 0) {
                --r.times;
            }
            return;
        }
    }
}

} // namespace zentrel::sim
