#pragma once
// The fault rules in force. Rules are consulted when a request is answered; a rule with a
// count is used up by the replies it spoils, so "silent once" makes exactly one reply vanish.
#include "FaultRule.h"

#include <vector>

namespace zentrel::sim {

class FaultPlan {
public:
    void add(FaultRule rule) { rules_.push_back(std::move(rule)); }
    void clear() { rules_.clear(); }
    bool empty() const { return rules_.empty(); }

    // Whether a rule of `kind` would apply to the reply to `request` (uses nothing up).
    bool wants(FaultRule::Kind kind, const CommandFrame& request) const;
    // The rules that apply to the reply to `request`, each used up by one.
    std::vector<FaultRule> take(const CommandFrame& request);
    // The first rule of an event kind that applies to `request`, not used up; use() takes one
    // of its uses. Event kinds are never taken by the replies they do not shape.
    const FaultRule* find(FaultRule::Kind kind, const CommandFrame& request) const;
    void use(FaultRule::Kind kind, const CommandFrame& request);

private:
    std::vector<FaultRule> rules_;
};

} // namespace zentrel::sim
