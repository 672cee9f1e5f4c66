#pragma once
// Reads the fault knobs of the simulator's command line, for example
//   silent:02.03            never answer a switch
//   silent-once:01.04@4=03  lose the first answer to the input-3 connection query
//   delay:02.01,ms=4000     answer routing queries four seconds late
//   stray:*,bytes=00FF      two stray bytes before every reply
//   split:02.03,at=5+9      every switch acknowledgement in three pieces
//   bytewise:*              every reply one byte at a time
//   bad-checksum:02.03,times=1
//   refuse:03.04            refuse EDID copies to one input
//   other-input:03.02       acknowledge an EDID setting for the next input
//   byte5:01.0C@4=02        the EDID status of input 2 with 01 in byte 5
//   report-instead:03.08,code=0F  the EDID switch report in place of the access grant
//   close-before-block:03.07      drop the TCP connection on the EDID data header
//   unplug:out2             no display on output B
//   standby,after=3000      announce standby 3 s after start
//   edid-report,after=2000,code=0F
//   refuse-config           refuse every configuration record
//   config-answer,after=12000,split=40,lead=00FF   a late configuration answer, in two parts,
//                           behind two stray bytes
//   second-unit             a second unit answers discovery
//   stay-down:20.01         never come back after Part_1's completion
//   ack-id:20.02,id=05      acknowledge Part_2 blocks as block 5
//   extra-ack:20.01         acknowledge Part_1's last block beside its completion
//   standby-at-block:20.01,block=3   go to standby when the fourth Part_1 block arrives
#include "FaultRule.h"
#include "sim/model/NetworkResponder.h"

#include <cstdint>
#include <string>

namespace zentrel::sim {

struct ParsedFault {
    enum class Type {
        Rule,
        UnplugInput,
        UnplugOutput,
        Standby,
        EdidReport,
        RefuseConfig,
        ConfigAnswer,
        SecondUnit
    };
    Type type = Type::Rule;
    FaultRule rule{FaultRule::Kind::Silent, FrameMatch::all()};
    int port = 0;                         // unplug
    std::int64_t afterMs = 0;             // standby, EDID switch report
    std::uint8_t code = 0x0F;             // EDID switch report
    NetworkResponder::AnswerShape answer; // config-answer
};

class FaultParser {
public:
    // Throws std::invalid_argument with a message that names what is wrong.
    static ParsedFault parse(const std::string& faultText);
    // The lines --help prints about --fault.
    static const char* help();

private:
    static FrameMatch parseMatch(const std::string& text);
};

} // namespace zentrel::sim
