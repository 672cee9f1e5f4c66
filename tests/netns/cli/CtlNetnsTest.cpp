// zentrel-ctl discover as a process, inside a private network namespace where its broadcast
// cannot leave the machine: it finds the simulated matrix, and ends on its own when none answers.
#include "CtlRun.h"
#include "PrivateNetwork.h"
#include "SimProcess.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using zentrel::test::runCtl;

TEST(CtlNetns, DiscoverFindsTheMatrixAndEndsWhenNoneAnswers) {
    const std::string why = zentrel::test::enterPrivateNetwork();
    if (!why.empty()) {
        GTEST_SKIP() << "no private network namespace (" << why << ")";
    }
    {
        zentrel::sim::test::SimProcess sim(
            {"--udp", "--tcp", "127.0.0.1:0", "--mac", "02:5A:45:4E:00:07"});
        ASSERT_TRUE(sim.waitFor("answering discovery")) << sim.errors();
        const auto r = runCtl({"--json", "discover", "--listen", "500"});
        EXPECT_EQ(r.status, 0) << r.err;
        const auto json = nlohmann::json::parse(r.out);
        EXPECT_EQ(json["ok"], true);
        ASSERT_EQ(json["matrices"].size(), 1u) << r.out;
        EXPECT_EQ(json["matrices"][0]["mac"], "02:5A:45:4E:00:07");
        EXPECT_EQ(json["matrices"][0]["ip"], "127.0.0.1");
    }
    const auto none = runCtl({"discover", "--listen", "200"});
    EXPECT_EQ(none.status, 3);
    EXPECT_NE(none.err.find("no matrix answered within 200 ms"), std::string::npos) << none.err;
}
