#pragma once
// What a page's log needs to hand its entries to the traffic recorder: the recorder and the
// page they belong to. An empty tap (a dialog's log, a test's page) records nothing.
#include "TrafficRecorder.h"

namespace zentrel {

struct TrafficTap {
    TrafficRecorder* recorder = nullptr;
    int page = 0;

    explicit operator bool() const { return recorder != nullptr; }
    void record(TrafficDirection direction, std::string_view hex) const {
        if (recorder != nullptr) {
            recorder->record(page, direction, hex);
        }
    }
};

} // namespace zentrel
