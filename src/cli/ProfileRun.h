#pragma once
// The commands on the kept profile of the target: the names of its ports, its eight stored
// routings, and the whole profile as a file. None of them needs the matrix. Every change goes
// through the store's locked read-change-write, so what the panel or another run changed
// meanwhile is kept.
#include "CtlReport.h"
#include "CtlRequest.h"

#include "profile/ProfileStore.h"
#include "state/MatrixSize.h"

#include <nlohmann/json.hpp>

#include <array>
#include <optional>
#include <string>

namespace zentrel::cli {

class ProfileRun {
public:
    using Inputs = std::array<int, MatrixProfile::kPorts>;

    ProfileRun(ProfileStore& store, std::string profile, CtlReport& report)
        : store_(store), profile_(std::move(profile)), report_(report) {}

    // names, name, preset list|show|set, export or import, as `request` asks.
    int run(const CtlRequest& request);
    // The stored routing of preset n (1-based), or the status the run ends with.
    std::optional<StoredRouting> preset(int n, int& status);

    // "3,1,4,2": the inputs of outputs 1.. as they are stored, 0 after the last one given;
    // nothing when the text is not one to eight inputs 1..8 between commas.
    static std::optional<Inputs> parseRouting(const std::string& text);
    // Why the operands of a profile command cannot be taken, in the manner of the argument
    // checks; empty when they can (or the command is another one).
    static std::string operandProblem(const CtlRequest& request);
    // A stored routing for --json: {"preset": n, "name": ..., "routing": {"A": 3, ...}}.
    static nlohmann::json presetJson(int n, const StoredRouting& routing);
    static std::string presetLine(int n, const StoredRouting& routing);
    // Why preset n cannot be applied to a unit of `size` (an output of the unit it stores no
    // input for, an input the unit lacks); empty when it can.
    static std::string unfit(int n, const StoredRouting& routing, const MatrixSize& size);

private:
    int names();
    int name(const std::string& side, const std::string& port, const std::string& text);
    int presetSet(int n, const std::string& routing, const std::optional<std::string>& name);
    int exportTo(const std::string& file);
    int importFrom(const std::string& file);
    // After a call of the store: a failure to read or write ends the run (status 1); a file set
    // aside is told, and the run goes on with the defaults.
    std::optional<int> storeFailed();

    ProfileStore& store_;
    std::string profile_;
    CtlReport& report_;
};

} // namespace zentrel::cli
