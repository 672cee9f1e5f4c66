#include "sim/faults/FaultParser.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace zentrel;
using namespace zentrel::sim;

TEST(FaultParser, MistakesAreNamed) {
    for (const char* bad :
         {"silent", "silent:0203", "silent:02.GG", "loud:02.03", "unplug:in9", "unplug:side1",
          "delay:02.01,ms", "delay:02.01,ms=-5", "stray:*,bytes=0", "split:*,at=13",
          "standby,code=0F", "silent:02.03,colour=red", "silent:01.04@1=00",
          "config-answer,split=76", "config-answer,lead=0", "second-unit,after=5"}) {
        EXPECT_THROW(FaultParser::parse(bad), std::invalid_argument) << bad;
    }
    try {
        FaultParser::parse("loud:02.03");
    } catch (const std::invalid_argument& e) {
        EXPECT_NE(std::string(e.what()).find("unknown kind 'loud'"), std::string::npos);
    }
}
