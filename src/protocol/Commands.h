#pragma once
// The matrix's command set, named once. Every group/command pair the panel sends or the matrix
// answers is a `Command` here; the frames are made by builders named for what they ask, so no
// page, test or simulated matrix writes a command as raw numbers. A reply repeats its request's
// bytes 2 and 3, so the same `Command` also recognises the reply.
#include "CommandFrame.h"

#include <cstdint>

namespace zentrel {

struct Command {
    std::uint8_t group;
    std::uint8_t command;

    // group and command in one number, for a switch over commands
    constexpr int code() const { return (group << 8) | command; }
    static constexpr int codeOf(const CommandFrame& f) { return (f.group() << 8) | f.command(); }
    constexpr bool matches(const CommandFrame& f) const {
        return f.group() == group && f.command() == command;
    }
    // The frame with bytes 2, 3 set and the given argument bytes from byte 4 on.
    CommandFrame frame(std::initializer_list<std::uint8_t> args = {}) const;
    friend constexpr bool operator==(Command, Command) = default;
};

namespace cmd {

// Group 01: what the matrix is and what is plugged into it.
inline constexpr Command kDeviceType{0x01, 0x01};
inline constexpr Command kModel{0x01, 0x02};
inline constexpr Command kVersion{0x01, 0x03};
inline constexpr Command kInputStatus{0x01, 0x04};
inline constexpr Command kOutputStatus{0x01, 0x05};
inline constexpr Command kIrState{0x01, 0x0A};
inline constexpr Command kBeepState{0x01, 0x0B};
inline constexpr Command kEdidStatus{0x01, 0x0C};

// Group 02: routing.
inline constexpr Command kRouting{0x02, 0x01};
inline constexpr Command kSwitch{0x02, 0x03};

// Group 03: EDID.
inline constexpr Command kEdidBuiltInAll{0x03, 0x01};
inline constexpr Command kEdidBuiltIn{0x03, 0x02};
inline constexpr Command kEdidCopyAll{0x03, 0x03};
inline constexpr Command kEdidCopy{0x03, 0x04};
inline constexpr Command kEdidDownloadAll{0x03, 0x06};
inline constexpr Command kEdidDownload{0x03, 0x07};
inline constexpr Command kEdidAccess{0x03, 0x08};
inline constexpr Command kEdidDefaultAll{0x03, 0x09};
inline constexpr Command kEdidDefault{0x03, 0x0A};
inline constexpr Command kEdidSwitchReport{0x03, 0x0B}; // sent by the matrix unasked

// Groups 05, 06, 08: IR control, beeper, power and reboot.
inline constexpr Command kIrControl{0x05, 0x01};
inline constexpr Command kBeep{0x06, 0x01};
inline constexpr Command kPower{0x08, 0x0B};
inline constexpr Command kPowerState{0x08, 0x0C};
inline constexpr Command kReboot{0x08, 0x0D};

// Group 20: firmware. The command byte is the part (1..4).
inline constexpr std::uint8_t kFirmwareGroup = 0x20;
inline constexpr Command firmwarePart(int part) {
    return Command{kFirmwareGroup, static_cast<std::uint8_t>(part)};
}

// Sent by the matrix unasked: it has gone to standby.
inline constexpr Command kStandby{0x88, 0x88};

// The on/off argument of IR control, beep and power (in requests and in state replies).
inline constexpr std::uint8_t kOn = 0x0F;
inline constexpr std::uint8_t kOff = 0xF0;
// Byte 9 of every frame of the FW Upgrade page.
inline constexpr std::uint8_t kFirmwareMark = 0x40;
// Byte 4 of the firmware frames: what a part's start asks (start, Part 3's start, Part_1's two
// preparations) and what the matrix answers (ready, write failed, done).
inline constexpr std::uint8_t kFirmwareStart = 0x01;
inline constexpr std::uint8_t kFirmwarePart3Start = 0x03;
inline constexpr std::uint8_t kFirmwarePrepare1 = 0x80;
inline constexpr std::uint8_t kFirmwarePrepare2 = 0x10;
inline constexpr std::uint8_t kFirmwareReady = 0xAA;
inline constexpr std::uint8_t kFirmwareWriteFailed = 0x44;
inline constexpr std::uint8_t kFirmwareDone = 0x00;
// Part_2 answers Part 3's start with FE in byte 4; a part's completion carries FE in byte 6.
inline constexpr std::uint8_t kFirmwareLast = 0xFE;
// Byte 4 of a block header: a block follows (AA), the part's last block follows (56).
inline constexpr std::uint8_t kFirmwareBlockMark = 0xAA;
inline constexpr std::uint8_t kFirmwareLastBlockMark = 0x56;
// Bytes 9, 10 of a block header for block id F0: the second bank of blocks begins.
inline constexpr std::uint8_t kFirmwareBankId = 0xF0;
inline constexpr std::uint8_t kFirmwareBankMark = 0xB0;
inline constexpr std::uint8_t kFirmwareBankArg = 0x01;
// Fixed argument bytes of the EDID commands.
inline constexpr std::uint8_t kEdidFixed = 0xF0;
inline constexpr std::uint8_t kEdidAllInputs = 0xFE;
inline constexpr std::uint8_t kEdidDataMark = 0x56;
// Byte 6 of a port reply for a port with nothing plugged in, of a routing reply without source.
inline constexpr std::uint8_t kAbsent = 0xFF;

// --- builders, named by what they ask ----------------------------------------------------------
CommandFrame queryDeviceType();
CommandFrame queryModel();
CommandFrame queryVersion();
CommandFrame queryInput(int k);
CommandFrame queryOutput(int k);
CommandFrame queryIrState();
CommandFrame queryBeepState();
CommandFrame queryEdidStatus(int input);
CommandFrame queryRouting(int output);
CommandFrame routeInput(int input, int output);
CommandFrame builtInEdidAll(int edid);
CommandFrame builtInEdid(int edid, int input);
CommandFrame copyEdidAll(int output);
CommandFrame copyEdid(int output, int input);
CommandFrame edidDownloadRequestAll();
CommandFrame edidDownloadRequest(int input);
CommandFrame edidDataHeaderAll();
CommandFrame edidDataHeader();
CommandFrame edidAccess();
CommandFrame defaultEdidAll();
CommandFrame defaultEdid(int input);
CommandFrame setIrControl(bool on);
CommandFrame setBeep(bool on);
CommandFrame setPower(bool on);
CommandFrame queryPowerState();
CommandFrame reboot();
// The FW Upgrade page's frames carry kFirmwareMark in byte 9.
CommandFrame withFirmwareMark(CommandFrame f);
// 20 part arg 00 00 00 00 40 00 00: a part's start (arg 01, or 03 for Part 3) and Part_1's
// preparations (arg 80, then 10).
CommandFrame firmwarePartStart(int part, std::uint8_t arg);
// 20 part AA 00 00 01 01 40 id 00: a 257-byte block follows.
CommandFrame firmwareBlockHeader(int part, std::uint8_t id);
// 20 part 56 00 FE 00 01 40 id 00: the part's last block follows.
CommandFrame firmwareLastBlockHeader(int part, std::uint8_t id);
// Bytes 9 and 10 become B0 01, as the page builds its frames while the block id is F0.
CommandFrame withBankMark(CommandFrame f);
// The matrix's answers to the firmware frames: 20 part status, and a block's acknowledgement
// 20 part 00 00 00 01 01 mark id, and a part's completion 20 part 00 00 FE 00 01.
CommandFrame firmwareAnswer(int part, std::uint8_t status);
CommandFrame firmwareBlockAck(int part, std::uint8_t mark, std::uint8_t id);
CommandFrame firmwarePartComplete(int part);

} // namespace cmd
} // namespace zentrel
