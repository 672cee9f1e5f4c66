#pragma once
// A descriptor watched by the event loop (EventLoop::watch): the loop calls back on the UI
// thread while it is ready, so a device is read and written without a thread of its own.
namespace zentrel {

class DescriptorWatch {
public:
    enum class Direction { Read, Write };
    virtual ~DescriptorWatch() = default;
    // A disabled watch stays quiet until enabled again; a new watch is enabled.
    virtual void setEnabled(bool enabled) = 0;
};

} // namespace zentrel
