// zentrel-ctl discover and config as processes, inside a private network namespace where their
// broadcasts cannot leave the machine: discover finds the simulated matrix and ends on its own
// when none answers; config sets the matrix's address and finds it there, or says why not.
#include "CtlRun.h"
#include "PrivateNetwork.h"
#include "SimProcess.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <iterator>
#include <sstream>

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

TEST(CtlNetns, ConfigSetsTheAddressOrEndsWithWhatWentWrong) {
    const std::string why = zentrel::test::enterPrivateNetwork();
    if (!why.empty()) {
        GTEST_SKIP() << "no private network namespace (" << why << ")";
    }
    const std::string statics = " --static 10.0.0.9 --mask 255.255.255.0 --gateway 10.0.0.1";
    struct Row {
        std::string simArgs, args;
        int status;
        std::string says;         // on stdout for 0, else on stderr
        bool outsideLink = false; // a link appears that might lead to a real network
    } rows[] = {
        {"", "--json config 02:5A:45:4E:00:07 --new-mac 02:5a:45:4e:00:42" + statics, 0,
         R"("ip":"10.0.0.9","mac":"02:5A:45:4E:00:42","ok":true)"},
        {"", "config 02:5A:45:4E:00:07" + statics, 0, "10.0.0.9  02:5A:45:4E:00:07"},
        {" --fault refuse-config", "config 02:5A:45:4E:00:07 --auto", 1,
         "configure failed! (the matrix refused the record)"},
        {"", "config 02:5A:45:4E:00:08 --auto", 3, "configure failed! (no answer within 10 s)"},
        {"", "config 02:5A:45:4E:00" + statics, 2, "not a MAC address"},
        {"", "config 02:5A:45:4E:00:07 --static 10.0.0.256 --mask 255.0.0.0 --gateway 10.0.0.1", 2,
         "--static: not a dotted IPv4 address: 10.0.0.256"},
        {"", "config 02:5A:45:4E:00:07 --auto --new-mac 03:00:00:00:00:01", 2,
         "--new-mac: not a unicast MAC address"},
        // Last: the link stays. It is a pair within the namespace, so nothing could leave.
        {"", "config 02:5A:45:4E:00:07 --auto", 2, "may carry it to a real network", true},
    };
    auto words = [](const std::string& line) {
        std::istringstream in(line);
        return std::vector<std::string>{std::istream_iterator<std::string>(in), {}};
    };
    for (const Row& row : rows) {
        zentrel::sim::test::SimProcess sim(
            words("--udp --tcp 127.0.0.1:0 --mac 02:5A:45:4E:00:07" + row.simArgs));
        ASSERT_TRUE(sim.waitFor("answering discovery")) << sim.errors();
        if (row.outsideLink) {
            ASSERT_EQ(std::system("ip link add za type veth peer name zb && ip link set za up && "
                                  "ip link set zb up"),
                      0);
        }
        const auto r = runCtl(words(row.args), {}, 15000);
        EXPECT_EQ(r.status, row.status) << row.args << "\n" << r.err;
        EXPECT_NE((row.status == 0 ? r.out : r.err).find(row.says), std::string::npos)
            << row.args << "\n"
            << r.out << r.err;
        if (row.status == 2) { // bad input ends the run before anything is sent
            EXPECT_FALSE(sim.waitFor("configuration (accepted|refused)", 200)) << sim.log();
        }
    }
}
