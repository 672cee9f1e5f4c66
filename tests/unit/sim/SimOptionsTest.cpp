#include "program/SimOptions.h"

#include <gtest/gtest.h>

using namespace zentrel::sim;

namespace {

SimOptions parse(std::vector<std::string> args) {
    return SimOptions::parse(args);
}

std::string mistake(std::vector<std::string> args) {
    try {
        SimOptions::parse(args);
    } catch (const UsageError& e) {
        return e.what();
    }
    return "";
}

} // namespace

TEST(SimOptions, DefaultsServeTcpOnLoopbackPort8000Only) {
    const SimOptions o = parse({});
    EXPECT_TRUE(o.tcp);
    EXPECT_EQ(o.tcpAddress, "127.0.0.1");
    EXPECT_EQ(o.tcpPort, 8000);
    EXPECT_FALSE(o.com.has_value());
    EXPECT_FALSE(o.udp);
}

TEST(SimOptions, EveryOptionInBothSpellings) {
    const SimOptions o =
        parse({"--tcp", "127.0.0.2:0", "--com=3", "--udp", "--mac", "02-11-22-33-44-55",
               "--ip=10.1.2.3", "--latency", "0", "--fault", "silent-once:02.03",
               "--fault=unplug:out2", "--reboot-ms=100", "--upgrade-reboot-ms", "200"});
    EXPECT_EQ(o.tcpAddress, "127.0.0.2");
    EXPECT_EQ(o.tcpPort, 0);
    EXPECT_EQ(o.com, 3);
    EXPECT_TRUE(o.udp);
    EXPECT_EQ(o.mac, (std::array<std::uint8_t, 6>{0x02, 0x11, 0x22, 0x33, 0x44, 0x55}));
    EXPECT_EQ(o.ip, (std::array<std::uint8_t, 4>{10, 1, 2, 3}));
    EXPECT_EQ(o.latencyMs, 0);
    EXPECT_EQ(o.rebootMs, 100);
    EXPECT_EQ(o.upgradeRebootMs, 200);
    ASSERT_EQ(o.faults.size(), 2u);
    EXPECT_EQ(o.faults[1].type, ParsedFault::Type::UnplugOutput);
    EXPECT_EQ(SimOptions::parseMac("025a454e0001"),
              (std::array<std::uint8_t, 6>{0x02, 0x5A, 0x45, 0x4E, 0x00, 0x01}));
}

TEST(SimOptions, MistakesSayWhatIsWrong) {
    EXPECT_NE(mistake({"--bogus"}).find("unknown argument '--bogus'"), std::string::npos);
    EXPECT_NE(mistake({"--com"}).find("--com needs a value"), std::string::npos);
    EXPECT_NE(mistake({"--com", "20"}).find("1 to 19"), std::string::npos);
    EXPECT_NE(mistake({"--tcp", "127.0.0.1"}).find("ADDRESS:PORT"), std::string::npos);
    EXPECT_NE(mistake({"--tcp", "127.0.0.1:70000"}).find("65535"), std::string::npos);
    EXPECT_NE(mistake({"--tcp", "localhost:8000"}).find("IPv4"), std::string::npos);
    EXPECT_NE(mistake({"--ip", "1.2.3"}).find("IPv4"), std::string::npos);
    EXPECT_NE(mistake({"--ip", "1.2.3.256"}).find("0 to 255"), std::string::npos);
    EXPECT_NE(mistake({"--mac", "02:5A:45:4E:00"}).find("MAC"), std::string::npos);
    EXPECT_NE(mistake({"--mac", "02:5A:45:4E:00:0G"}).find("MAC"), std::string::npos);
    EXPECT_NE(mistake({"--udp=yes"}).find("takes no value"), std::string::npos);
    EXPECT_NE(mistake({"--fault", "loud:02.03"}).find("unknown kind"), std::string::npos);
    EXPECT_NE(mistake({"--no-tcp"}).find("nothing to serve"), std::string::npos);
}
