#include "sim/faults/FaultParser.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace zentrel;
using namespace zentrel::sim;

TEST(FaultParser, RuleKindsMatchesAndOptions) {
    ParsedFault f = FaultParser::parse("silent-once:01.04@4=03");
    ASSERT_EQ(f.type, ParsedFault::Type::Rule);
    EXPECT_EQ(f.rule.kind, FaultRule::Kind::Silent);
    EXPECT_EQ(f.rule.times, 1);
    EXPECT_TRUE(f.rule.match.matches(CommandFrame::make({0x01, 0x04, 0x03})));
    EXPECT_FALSE(f.rule.match.matches(CommandFrame::make({0x01, 0x04, 0x02})));

    f = FaultParser::parse("delay:02.01,ms=4000,times=2");
    EXPECT_EQ(f.rule.kind, FaultRule::Kind::Delay);
    EXPECT_EQ(f.rule.delayMs, 4000);
    EXPECT_EQ(f.rule.times, 2);

    f = FaultParser::parse("stray:*,bytes=00fF");
    EXPECT_TRUE(f.rule.match.any);
    EXPECT_EQ(f.rule.stray, (std::vector<std::uint8_t>{0x00, 0xFF}));

    f = FaultParser::parse("ack-id:20.02@10=05,id=0A,times=1");
    EXPECT_EQ(f.rule.kind, FaultRule::Kind::AckId);
    EXPECT_EQ(f.rule.ackId, 0x0A);
    EXPECT_TRUE(f.rule.match.matches(CommandFrame::make({0x20, 0x02, 0xAA, 0, 0, 1, 1, 0x40, 5})));
    f = FaultParser::parse("standby-at-block:20.01,block=12");
    EXPECT_EQ(f.rule.kind, FaultRule::Kind::StandbyAtBlock);
    EXPECT_EQ(f.rule.atBlock, 12);
    f = FaultParser::parse("reset-at-block:20.02,block=5");
    EXPECT_EQ(f.rule.kind, FaultRule::Kind::ResetAtBlock);
    EXPECT_EQ(f.rule.atBlock, 5);
    EXPECT_EQ(FaultParser::parse("stay-down:20.01").rule.kind, FaultRule::Kind::StayDown);
    EXPECT_EQ(FaultParser::parse("extra-ack:20.02").rule.kind, FaultRule::Kind::ExtraAck);
    EXPECT_THROW(FaultParser::parse("silent:20.01,id=05"), std::invalid_argument);
    EXPECT_THROW(FaultParser::parse("ack-id:20.01,block=3"), std::invalid_argument);

    f = FaultParser::parse("split:20.01,at=5+9,ms=7");
    EXPECT_EQ(f.rule.splitAt, (std::vector<std::size_t>{5, 9}));
    EXPECT_EQ(f.rule.gapMs, 7);

    EXPECT_EQ(FaultParser::parse("bytewise:*").rule.kind, FaultRule::Kind::ByteByByte);
    EXPECT_EQ(FaultParser::parse("refuse:03.04").rule.kind, FaultRule::Kind::Refuse);
    EXPECT_EQ(FaultParser::parse("bad-checksum:02.03").rule.times, -1);

    EXPECT_EQ(FaultParser::parse("other-input:03.02").rule.kind, FaultRule::Kind::OtherInput);
    EXPECT_EQ(FaultParser::parse("byte5:01.0C@4=02").rule.kind, FaultRule::Kind::Byte5Set);
    EXPECT_EQ(FaultParser::parse("close-before-block:03.07").rule.kind,
              FaultRule::Kind::CloseBeforeBlock);
    f = FaultParser::parse("report-instead:03.08,code=00,times=1");
    EXPECT_EQ(f.rule.kind, FaultRule::Kind::SwitchReport);
    EXPECT_EQ(f.rule.code, 0x00);
    EXPECT_EQ(f.rule.times, 1);
    EXPECT_THROW(FaultParser::parse("silent:03.08,code=00"), std::invalid_argument);
}

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
