// zentrel-matrix-sim: a simulated four-by-four HDMI matrix on a pseudo-terminal, TCP and UDP,
// so the panel can be tried and tested without hardware.
#include "program/SignalWatcher.h"
#include "program/SimApp.h"
#include "program/SimOptions.h"
#include "program/UdpService.h"

#include "ZentrelVersion.h"

#include <QCoreApplication>

#include <cstdio>
#include <string>
#include <vector>

using namespace zentrel::sim;

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    SimOptions options;
    try {
        options = SimOptions::parse(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError& e) {
        std::fprintf(stderr, "zentrel-matrix-sim: %s\nTry 'zentrel-matrix-sim --help'.\n",
                     e.what());
        return 2;
    }
    if (options.version) {
        std::puts("zentrel-matrix-sim " ZENTREL_VERSION);
        return 0;
    }
    if (options.help) {
        std::fputs(SimOptions::usage().c_str(), stdout);
        return 0;
    }

    int qtArgc = 1; // the options are ours: Qt gets none of them
    QCoreApplication app(qtArgc, argv);
    if (options.udp && !options.udpOnAnyNetwork) {
        const std::string iface = UdpService::outsideInterface();
        if (!iface.empty()) {
            std::fprintf(stderr,
                         "zentrel-matrix-sim: --udp answers by broadcast, and interface %s may "
                         "carry it to a real network.\nRun it inside a private network "
                         "namespace (unshare -rn) or add --udp-on-any-network.\n",
                         iface.c_str());
            return 2;
        }
    }

    SignalWatcher watcher([&app](int) { app.quit(); });
    SimApp sim(options);
    std::string error;
    if (!sim.start(error)) {
        std::fprintf(stderr, "zentrel-matrix-sim: %s\n", error.c_str());
        sim.stop();
        return 1;
    }
    const int rc = QCoreApplication::exec();
    sim.stop();
    return rc;
}
