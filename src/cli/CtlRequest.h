#pragma once
// One run of the tool as its arguments ask for it: the target, how to print, and the command
// with its operands, already checked for form.
#include <optional>
#include <string>
#include <vector>

namespace zentrel::cli {

struct CtlTarget {
    enum class Kind { Last, Com, Device, Tcp };
    Kind kind = Kind::Last;
    int com = 0;
    std::string device; // the path for Device, the resolved device for Com
    std::string host;
    int port = 8000;
};

struct CtlRequest {
    CtlTarget target;
    bool json = false;
    bool quiet = false;
    bool udpOnAnyNetwork = false;
    int listenMs = 2000; // how long `discover` listens for answers
    // The command's words, e.g. {"edid", "set"}, and its operands as given.
    std::vector<std::string> command;
    std::vector<std::string> operands;
    // Options of `preset set` and `config`.
    std::optional<std::string> name;
    bool configAuto = false;
    std::optional<std::string> ip, mask, gateway, newMac;
};

} // namespace zentrel::cli
