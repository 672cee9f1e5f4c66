#include "ProfileRun.h"

#include "PortNames.h"

#include "profile/ProfileError.h"
#include "profile/ProfileJson.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace zentrel::cli {

namespace {

std::string outputLetter(std::size_t k) {
    return std::string(1, static_cast<char>('A' + k));
}

std::string portLine(const std::string& port, const std::string& name) {
    char line[96];
    std::snprintf(line, sizeof line, "%-9s %s", port.c_str(), name.c_str());
    std::string s = line;
    s.erase(s.find_last_not_of(' ') + 1);
    return s + "\n";
}

nlohmann::json nameOrNull(const std::string& name) {
    return name.empty() ? nlohmann::json(nullptr) : nlohmann::json(name);
}

std::string routingText(const ProfileRun::Inputs& inputs) {
    std::size_t end = inputs.size();
    while (end > 0 && inputs[end - 1] == 0) {
        --end;
    }
    std::string s;
    for (std::size_t k = 0; k < end; ++k) {
        s += (k == 0 ? "" : ",") + (inputs[k] == 0 ? std::string("-") : std::to_string(inputs[k]));
    }
    return s.empty() ? "(nothing stored)" : s;
}

} // namespace

std::optional<ProfileRun::Inputs> ProfileRun::parseRouting(const std::string& text) {
    Inputs inputs{};
    std::size_t k = 0;
    std::size_t at = 0;
    for (;;) {
        const std::size_t comma = text.find(',', at);
        const std::optional<int> in = parseInput(text.substr(at, comma - at));
        if (!in || k == inputs.size()) {
            return std::nullopt;
        }
        inputs[k++] = *in + 1;
        if (comma == std::string::npos) {
            return inputs;
        }
        at = comma + 1;
    }
}

std::string ProfileRun::operandProblem(const CtlRequest& r) {
    const auto& c = r.command;
    const auto& ops = r.operands;
    if (c.front() == "name") {
        const bool input = ops[0] == "input";
        const std::string what = "name " + ops[0] + " " + ops[1] + ": ";
        if (!(input ? parseInput(ops[1]) : parseOutput(ops[1]))) {
            return what + (input ? "not an input 1..8" : "not an output A..H or 1..8");
        }
        const std::string problem = nameProblem(ops[2]);
        return problem.empty() ? "" : what + problem;
    }
    if (c == std::vector<std::string>{"preset", "set"}) {
        if (!parseRouting(ops[1])) {
            return "preset set " + ops[0] + ": not a routing of inputs 1..8 for outputs 1.. " +
                   "(\"1,2,3,4\"): " + ops[1];
        }
        if (r.name) {
            const std::string problem = nameProblem(*r.name);
            return problem.empty() ? "" : "preset set " + ops[0] + ": the name " + problem;
        }
    }
    return {};
}

nlohmann::json ProfileRun::presetJson(int n, const StoredRouting& routing) {
    nlohmann::json map = nlohmann::json::object();
    for (std::size_t k = 0; k < routing.inputs.size(); ++k) {
        if (routing.inputs[k] != 0) {
            map[outputLetter(k)] = routing.inputs[k];
        }
    }
    return {{"preset", n}, {"name", routing.name}, {"routing", map}};
}

std::string ProfileRun::presetLine(int n, const StoredRouting& routing) {
    char line[96];
    std::snprintf(line, sizeof line, "%d  %-20s  %s\n", n, routing.name.c_str(),
                  routingText(routing.inputs).c_str());
    return line;
}

std::string ProfileRun::unfit(int n, const StoredRouting& routing, const MatrixSize& size) {
    for (int k = 1; k <= size.outputs; ++k) {
        const int in = routing.inputs[static_cast<std::size_t>(k - 1)];
        const std::string output = outputLetter(static_cast<std::size_t>(k - 1));
        if (in == 0) {
            return "preset " + std::to_string(n) + " stores no input for output " + output;
        }
        if (in > size.inputs) {
            return "preset " + std::to_string(n) + " routes input " + std::to_string(in) +
                   " to output " + output;
        }
    }
    return {};
}

std::optional<int> ProfileRun::storeFailed() {
    if (store_.failed()) {
        return report_.fail(ExitCode::Refused, store_.notice());
    }
    if (!store_.notice().empty()) {
        report_.warn(store_.notice());
    }
    return std::nullopt;
}

std::optional<StoredRouting> ProfileRun::preset(int n, int& status) {
    const MatrixProfile kept = store_.matrix(profile_);
    if (const auto rc = storeFailed()) {
        status = *rc;
        return std::nullopt;
    }
    return kept.routings[static_cast<std::size_t>(n - 1)];
}

int ProfileRun::run(const CtlRequest& r) {
    const auto& c = r.command;
    const auto& ops = r.operands;
    if (c.front() == "names") {
        return names();
    }
    if (c.front() == "name") {
        return name(ops[0], ops[1], ops[2]);
    }
    if (c.front() == "export") {
        return exportTo(ops[0]);
    }
    if (c.front() == "import") {
        return importFrom(ops[0]);
    }
    const int n = ops.empty() ? 0 : *parseInput(ops[0]) + 1; // none for `preset list`
    if (c[1] == "set") {
        return presetSet(n, ops[1], r.name);
    }
    const MatrixProfile kept = store_.matrix(profile_);
    if (const auto rc = storeFailed()) {
        return *rc;
    }
    if (c[1] == "show") {
        const StoredRouting& routing = kept.routings[static_cast<std::size_t>(n - 1)];
        return report_.done(presetJson(n, routing), presetLine(n, routing));
    }
    nlohmann::json list = nlohmann::json::array();
    std::string lines;
    for (int k = 1; k <= MatrixProfile::kRoutings; ++k) {
        const StoredRouting& routing = kept.routings[static_cast<std::size_t>(k - 1)];
        list.push_back(presetJson(k, routing));
        lines += presetLine(k, routing);
    }
    return report_.done({{"presets", list}}, lines);
}

int ProfileRun::names() {
    const MatrixProfile kept = store_.matrix(profile_);
    if (const auto rc = storeFailed()) {
        return *rc;
    }
    nlohmann::json inputs = nlohmann::json::array();
    nlohmann::json outputs = nlohmann::json::array();
    std::string lines;
    for (std::size_t k = 0; k < MatrixProfile::kPorts; ++k) {
        inputs.push_back({{"port", k + 1}, {"name", nameOrNull(kept.inputNames[k])}});
        lines += portLine("input " + std::to_string(k + 1), kept.inputNames[k]);
    }
    for (std::size_t k = 0; k < MatrixProfile::kPorts; ++k) {
        outputs.push_back({{"port", outputLetter(k)}, {"name", nameOrNull(kept.outputNames[k])}});
        lines += portLine("output " + outputLetter(k), kept.outputNames[k]);
    }
    return report_.done({{"inputs", inputs}, {"outputs", outputs}}, lines);
}

int ProfileRun::name(const std::string& side, const std::string& port, const std::string& text) {
    const bool input = side == "input";
    const auto k = static_cast<std::size_t>(input ? *parseInput(port) : *parseOutput(port));
    store_.changeMatrix(
        profile_, [&](MatrixProfile& p) { (input ? p.inputNames : p.outputNames)[k] = text; });
    if (const auto rc = storeFailed()) {
        return *rc;
    }
    const std::string label = input ? std::to_string(k + 1) : outputLetter(k);
    return report_.done({{"port", input ? nlohmann::json(k + 1) : nlohmann::json(label)},
                         {"name", nameOrNull(text)}},
                        portLine(side + " " + label, text));
}

int ProfileRun::presetSet(int n, const std::string& routing,
                          const std::optional<std::string>& name) {
    const Inputs inputs = *parseRouting(routing);
    const MatrixProfile now = store_.changeMatrix(profile_, [&](MatrixProfile& p) {
        StoredRouting& kept = p.routings[static_cast<std::size_t>(n - 1)];
        kept.inputs = inputs;
        if (name) {
            kept.name = *name;
        }
    });
    if (const auto rc = storeFailed()) {
        return *rc;
    }
    const StoredRouting& kept = now.routings[static_cast<std::size_t>(n - 1)];
    return report_.done(presetJson(n, kept), presetLine(n, kept));
}

int ProfileRun::exportTo(const std::string& file) {
    const MatrixProfile kept = store_.matrix(profile_);
    if (const auto rc = storeFailed()) {
        return *rc;
    }
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << profileText(kept);
    out.close();
    if (!out) {
        return report_.fail(ExitCode::Usage, "export: cannot write " + file);
    }
    return report_.done({{"file", file}}, "");
}

int ProfileRun::importFrom(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in.good() && !in.eof()) {
        return report_.fail(ExitCode::Usage, "import: cannot read " + file);
    }
    // Everything is checked before the profile is touched: a refused file changes nothing.
    try {
        (void)importedProfile(text, MatrixProfile::defaults());
    } catch (const ProfileError& e) {
        return report_.fail(ExitCode::Usage, "import: " + file + " refused, nothing was changed:",
                            std::string(e.what()) + ".");
    }
    store_.changeMatrix(profile_, [&](MatrixProfile& p) { p = importedProfile(text, p); });
    if (const auto rc = storeFailed()) {
        return *rc;
    }
    return report_.done({{"file", file}}, "");
}

} // namespace zentrel::cli
