#include "QtDescriptorWatch.h"

#include <QSocketNotifier>

namespace zentrel {

QtDescriptorWatch::QtDescriptorWatch(int fd, Direction direction, std::function<void()> ready)
    : notifier_(new QSocketNotifier(static_cast<qintptr>(fd), direction == Direction::Read
                                                                  ? QSocketNotifier::Read
                                                                  : QSocketNotifier::Write)) {
    QObject::connect(notifier_, &QSocketNotifier::activated,
                     [ready = std::move(ready)] { ready(); });
}

QtDescriptorWatch::~QtDescriptorWatch() {
    notifier_->setEnabled(false);
    notifier_->disconnect();
    notifier_->deleteLater();
}

void QtDescriptorWatch::setEnabled(bool enabled) {
    notifier_->setEnabled(enabled);
}

} // namespace zentrel
