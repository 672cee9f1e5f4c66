#pragma once
// A descriptor watch on Qt's loop: one QSocketNotifier, which works on any pollable descriptor.
#include "platform/DescriptorWatch.h"

#include <functional>

class QSocketNotifier;

namespace zentrel {

class QtDescriptorWatch : public DescriptorWatch {
public:
    QtDescriptorWatch(int fd, Direction direction, std::function<void()> ready);
    // Leaves the notifier to Qt's deferred deletion: the watch may end inside its own callback.
    ~QtDescriptorWatch() override;
    QtDescriptorWatch(const QtDescriptorWatch&) = delete;
    QtDescriptorWatch& operator=(const QtDescriptorWatch&) = delete;

    void setEnabled(bool enabled) override;

private:
    QSocketNotifier* notifier_;
};

} // namespace zentrel
