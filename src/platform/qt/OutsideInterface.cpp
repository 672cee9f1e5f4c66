#include "OutsideInterface.h"

#include <QNetworkInterface>

namespace zentrel {

std::string outsideInterface() {
    for (const QNetworkInterface& i : QNetworkInterface::allInterfaces()) {
        const auto f = i.flags();
        if (f.testFlag(QNetworkInterface::IsUp) && !f.testFlag(QNetworkInterface::IsLoopBack) &&
            f.testFlag(QNetworkInterface::CanBroadcast)) {
            return i.name().toStdString();
        }
    }
    return {};
}

} // namespace zentrel
