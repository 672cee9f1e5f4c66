#include "OutsideInterface.h"

#include <ifaddrs.h>
#include <net/if.h>

namespace zentrel {

std::string outsideInterface() {
    ifaddrs* all = nullptr;
    if (::getifaddrs(&all) != 0) {
        return {};
    }
    // Every interface is listed, with or without an address (its link-level entry at least).
    std::string name;
    for (const ifaddrs* i = all; i != nullptr && name.empty(); i = i->ifa_next) {
        const unsigned f = i->ifa_flags;
        if ((f & IFF_UP) != 0 && (f & IFF_LOOPBACK) == 0 && (f & IFF_BROADCAST) != 0) {
            name = i->ifa_name;
        }
    }
    ::freeifaddrs(all);
    return name;
}

} // namespace zentrel
