// zentrel-ctl: the panel's operations from scripts and terminals. Qt Core runs its event loop;
// there is no window and no view.
#include "CtlArguments.h"
#include "CtlProgram.h"

#include "platform/qt/QtCoreProgram.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtNetwork.h"

int main(int argc, char** argv) {
    zentrel::cli::ParseOutcome parsed = zentrel::cli::parseArguments(argc, argv);
    if (!parsed.request) {
        return parsed.exitCode;
    }
    zentrel::QtCoreProgram qt;
    zentrel::QtEventLoop loop;
    zentrel::QtNetwork network(loop);
    zentrel::cli::CtlProgram program(std::move(*parsed.request), loop, network);
    return program.run();
}
