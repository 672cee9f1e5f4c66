#include "FaultParser.h"

#include <charconv>
#include <map>
#include <stdexcept>
#include <vector>

namespace zentrel::sim {

namespace {

std::vector<std::string> splitOn(const std::string& s, char sep) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t at = s.find(sep, start);
        parts.push_back(s.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) {
            return parts;
        }
        start = at + 1;
    }
}

[[noreturn]] void fail(const std::string& faultText, const std::string& why) {
    throw std::invalid_argument("bad --fault '" + faultText + "': " + why);
}

long long number(const std::string& faultText, const std::string& text, int base, long long lo,
                 long long hi) {
    long long v = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, v, base);
    if (text.empty() || ec != std::errc() || ptr != end || v < lo || v > hi) {
        fail(faultText, "'" + text + "' is not a number in " + std::to_string(lo) + ".." +
                            std::to_string(hi) + (base == 16 ? " (hexadecimal)" : ""));
    }
    return v;
}

const std::map<std::string, FaultRule::Kind>& ruleKinds() {
    static const std::map<std::string, FaultRule::Kind> kinds{
        {"silent", FaultRule::Kind::Silent},
        {"silent-once", FaultRule::Kind::Silent},
        {"bad-checksum", FaultRule::Kind::BadChecksum},
        {"stray", FaultRule::Kind::Stray},
        {"split", FaultRule::Kind::Split},
        {"bytewise", FaultRule::Kind::ByteByByte},
        {"delay", FaultRule::Kind::Delay},
        {"refuse", FaultRule::Kind::Refuse},
        {"other-input", FaultRule::Kind::OtherInput},
        {"byte5", FaultRule::Kind::Byte5Set},
        {"report-instead", FaultRule::Kind::SwitchReport},
        {"close-before-block", FaultRule::Kind::CloseBeforeBlock},
        {"patch", FaultRule::Kind::Patch},
        {"other-output", FaultRule::Kind::OtherOutput},
        {"twin", FaultRule::Kind::Twin},
        {"stay-down", FaultRule::Kind::StayDown},
        {"ack-id", FaultRule::Kind::AckId},
        {"extra-ack", FaultRule::Kind::ExtraAck},
        {"standby-at-block", FaultRule::Kind::StandbyAtBlock},
        {"reset-at-block", FaultRule::Kind::ResetAtBlock},
        {"duplicate", FaultRule::Kind::Duplicate}};
    return kinds;
}

} // namespace

FrameMatch FaultParser::parseMatch(const std::string& text) {
    if (text == "*") {
        return FrameMatch::all();
    }
    const std::vector<std::string> conds = splitOn(text, '@');
    const std::vector<std::string> gc = splitOn(conds[0], '.');
    if (gc.size() != 2) {
        fail(text, "a command is written GG.CC in hexadecimal, for example 02.03, or *");
    }
    FrameMatch m = FrameMatch::of(static_cast<std::uint8_t>(number(text, gc[0], 16, 0, 255)),
                                  static_cast<std::uint8_t>(number(text, gc[1], 16, 0, 255)));
    for (std::size_t i = 1; i < conds.size(); ++i) {
        const std::vector<std::string> kv = splitOn(conds[i], '=');
        if (kv.size() != 2) {
            fail(text, "a byte condition is written @INDEX=HH, for example @4=03");
        }
        m.with(static_cast<std::size_t>(number(text, kv[0], 10, 2, 11)),
               static_cast<std::uint8_t>(number(text, kv[1], 16, 0, 255)));
    }
    return m;
}

ParsedFault FaultParser::parse(const std::string& faultText) {
    const std::vector<std::string> fields = splitOn(faultText, ',');
    const std::size_t colon = fields[0].find(':');
    const std::string kind = fields[0].substr(0, colon);
    const std::string target = colon == std::string::npos ? "" : fields[0].substr(colon + 1);
    std::map<std::string, std::string> opts;
    for (std::size_t i = 1; i < fields.size(); ++i) {
        const std::size_t eq = fields[i].find('=');
        if (eq == std::string::npos || eq == 0) {
            fail(faultText, "options are written key=value, found '" + fields[i] + "'");
        }
        opts[fields[i].substr(0, eq)] = fields[i].substr(eq + 1);
    }
    auto take = [&](const std::string& key) -> std::string {
        auto it = opts.find(key);
        if (it == opts.end()) {
            return {};
        }
        std::string v = it->second;
        opts.erase(it);
        return v;
    };

    ParsedFault out;
    if (kind == "unplug") {
        const bool input = target.rfind("in", 0) == 0;
        const bool output = target.rfind("out", 0) == 0;
        if (!input && !output) {
            fail(faultText, "unplug takes a port such as in3 or out2");
        }
        out.type = input ? ParsedFault::Type::UnplugInput : ParsedFault::Type::UnplugOutput;
        out.port = static_cast<int>(number(faultText, target.substr(input ? 2 : 3), 10, 1, 8));
    } else if (kind == "standby" || kind == "edid-report") {
        out.type = kind == "standby" ? ParsedFault::Type::Standby : ParsedFault::Type::EdidReport;
        const std::string after = take("after");
        out.afterMs = after.empty() ? 0 : number(faultText, after, 10, 0, 86'400'000);
        const std::string code = take("code");
        if (!code.empty()) {
            if (out.type != ParsedFault::Type::EdidReport) {
                fail(faultText, "code= belongs to edid-report");
            }
            out.code = static_cast<std::uint8_t>(number(faultText, code, 16, 0, 255));
        }
    } else if (kind == "refuse-config") {
        out.type = ParsedFault::Type::RefuseConfig;
    } else if (kind == "second-unit") {
        out.type = ParsedFault::Type::SecondUnit;
    } else if (kind == "config-answer") {
        out.type = ParsedFault::Type::ConfigAnswer;
        if (const std::string after = take("after"); !after.empty()) {
            out.answer.delayMs = number(faultText, after, 10, 0, 600'000);
        }
        if (const std::string split = take("split"); !split.empty()) {
            out.answer.splitAt = static_cast<std::size_t>(number(faultText, split, 10, 1, 75));
        }
        if (const std::string lead = take("lead"); !lead.empty()) {
            if (lead.size() % 2 != 0) {
                fail(faultText, "lead= takes pairs of hexadecimal digits");
            }
            for (std::size_t i = 0; i < lead.size(); i += 2) {
                out.answer.leading.push_back(
                    static_cast<std::uint8_t>(number(faultText, lead.substr(i, 2), 16, 0, 255)));
            }
        }
    } else {
        auto it = ruleKinds().find(kind);
        if (it == ruleKinds().end()) {
            fail(faultText, "unknown kind '" + kind + "'");
        }
        if (target.empty()) {
            fail(faultText, "name the command after a colon, for example " + kind + ":02.03 or " +
                                kind + ":*");
        }
        out.rule = FaultRule{it->second, parseMatch(target)};
        if (kind == "silent-once") {
            out.rule.times = 1;
        }
        if (const std::string t = take("times"); !t.empty()) {
            out.rule.times = static_cast<int>(number(faultText, t, 10, 1, 1'000'000));
        }
        if (const std::string ms = take("ms"); !ms.empty()) {
            const long long v = number(faultText, ms, 10, 0, 600'000);
            (out.rule.kind == FaultRule::Kind::Delay ? out.rule.delayMs : out.rule.gapMs) = v;
        }
        if (const std::string b = take("bytes"); !b.empty()) {
            if (b.size() % 2 != 0) {
                fail(faultText, "bytes= takes pairs of hexadecimal digits");
            }
            out.rule.stray.clear();
            for (std::size_t i = 0; i < b.size(); i += 2) {
                out.rule.stray.push_back(
                    static_cast<std::uint8_t>(number(faultText, b.substr(i, 2), 16, 0, 255)));
            }
        }
        if (const std::string code = take("code"); !code.empty()) {
            if (out.rule.kind != FaultRule::Kind::SwitchReport) {
                fail(faultText, "code= belongs to edid-report and report-instead");
            }
            out.rule.code = static_cast<std::uint8_t>(number(faultText, code, 16, 0, 255));
        }
        if (const std::string at = take("byte"); !at.empty()) {
            out.rule.patchAt = static_cast<std::size_t>(number(faultText, at, 10, 2, 11));
        }
        if (const std::string v = take("value"); !v.empty()) {
            out.rule.patchValue = static_cast<std::uint8_t>(number(faultText, v, 16, 0, 255));
        }
        if (const std::string t = take("then"); !t.empty()) {
            if (t.size() % 2 != 0 || t.size() > 20) {
                fail(faultText, "then= takes bytes 2.. of a frame as up to ten hexadecimal pairs");
            }
            out.rule.then.clear();
            for (std::size_t i = 0; i < t.size(); i += 2) {
                out.rule.then.push_back(
                    static_cast<std::uint8_t>(number(faultText, t.substr(i, 2), 16, 0, 255)));
            }
        }
        if (const std::string id = take("id"); !id.empty()) {
            if (out.rule.kind != FaultRule::Kind::AckId) {
                fail(faultText, "id= belongs to ack-id");
            }
            out.rule.ackId = static_cast<std::uint8_t>(number(faultText, id, 16, 0, 255));
        }
        if (const std::string blk = take("block"); !blk.empty()) {
            if (out.rule.kind != FaultRule::Kind::StandbyAtBlock &&
                out.rule.kind != FaultRule::Kind::ResetAtBlock) {
                fail(faultText, "block= belongs to standby-at-block and reset-at-block");
            }
            out.rule.atBlock = static_cast<int>(number(faultText, blk, 10, 0, 1'000'000));
        }
        if (const std::string at = take("at"); !at.empty()) {
            out.rule.splitAt.clear();
            for (const std::string& cut : splitOn(at, '+')) {
                out.rule.splitAt.push_back(
                    static_cast<std::size_t>(number(faultText, cut, 10, 1, 12)));
            }
        }
    }
    if (!opts.empty()) {
        fail(faultText, "option '" + opts.begin()->first + "' does not belong to " + kind);
    }
    return out;
}

const char* FaultParser::help() {
    return "  --fault KIND:COMMAND[,OPTION=VALUE...]   misbehave on purpose (repeatable)\n"
           "      COMMAND is GG.CC in hexadecimal (02.03 = switch), optionally with byte\n"
           "      conditions such as 01.04@4=03, or * for every command.\n"
           "      silent            never answer              silent-once   lose one answer\n"
           "      bad-checksum      answer with a wrong checksum\n"
           "      stray             stray bytes first (bytes=HEX, default 00)\n"
           "      split             answer in pieces (at=5+9, ms=GAP)\n"
           "      bytewise          answer one byte at a time (ms=GAP)\n"
           "      delay             answer late (ms=DELAY)\n"
           "      refuse            send the command's refusal instead of its success\n"
           "      other-input       name the next port in the answer (01 0C, 03 02, ...)\n"
           "      byte5             answer with 01 in byte 5\n"
           "      report-instead    the EDID switch report instead of the answer (code=HH)\n"
           "      close-before-block  close the TCP connection on an EDID data header\n"
           "      patch             one byte of the answer changed (byte=6,value=FF)\n"
           "      other-output      the answer names the next output in byte 6\n"
           "      twin              a second frame in the same read (then=8888, bytes 2..)\n"
           "      options for all of these: times=N (spoil N answers, then behave)\n"
           "  --fault stay-down:20.0N                   no return after a firmware part's end\n"
           "  --fault ack-id:20.0N,id=HH                block acknowledgements carry id HH\n"
           "  --fault extra-ack:20.0N                   acknowledge the last block too\n"
           "  --fault standby-at-block:20.0N,block=K    standby when block K of a part comes\n"
           "  --fault reset-at-block:20.0N,block=K      restart when block K of a part comes: the\n"
           "                                            part is lost, 01 01 01 00 follows unasked\n"
           "      a doubled, lost or late block acknowledgement: duplicate, silent-once or delay\n"
           "      on the block headers, e.g. duplicate:20.01@4=AA\n"
           "  --fault unplug:inN | unplug:outN          report port N disconnected (FF)\n"
           "  --fault standby,after=MS                  announce standby unprompted\n"
           "  --fault edid-report,after=MS,code=HH      send the EDID switch report (0F refuses)\n"
           "  --fault refuse-config                     refuse every configuration record\n"
           "  --fault config-answer,after=MS,split=N,lead=HH..\n"
           "                                            answer configuration records late, in two\n"
           "                                            parts, behind stray bytes\n"
           "  --fault second-unit                       a second unit answers discovery\n";
}

} // namespace zentrel::sim
