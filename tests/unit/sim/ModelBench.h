#pragma once
// A matrix model on one link with a hand-moved clock, for the model's unit tests.
#include "sim/model/MatrixModel.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace zentrel::sim::test {

inline std::string frameHex(std::initializer_list<std::uint8_t> from2) {
    return CommandFrame::make(from2).hex();
}

inline std::vector<std::uint8_t> frameBytes(std::initializer_list<std::uint8_t> from2) {
    const CommandFrame f = CommandFrame::make(from2);
    return {f.bytes.begin(), f.bytes.end()};
}

struct ModelBench {
    MatrixModel model;
    WireIntake link = model.newLink();
    std::int64_t now = 0;

    Exchange sendBytes(const std::vector<std::uint8_t>& bytes) {
        return model.receive(link, bytes, now);
    }
    Exchange send(std::initializer_list<std::uint8_t> from2) {
        return sendBytes(frameBytes(from2));
    }
    // The replies of one exchange as hex strings.
    static std::vector<std::string> replies(const Exchange& ex) {
        std::vector<std::string> out;
        for (const Reply& r : ex.out) {
            out.push_back(hexBytes(r.bytes));
        }
        return out;
    }
    // The hex of the single reply to a request, or "" when there is none.
    std::string ask(std::initializer_list<std::uint8_t> from2) {
        const Exchange ex = send(from2);
        return ex.out.size() == 1 ? hexBytes(ex.out[0].bytes) : ex.out.empty() ? "" : "many";
    }
};

} // namespace zentrel::sim::test
