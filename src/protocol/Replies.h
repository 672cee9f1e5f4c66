#pragma once
// The matrix's answers, named beside the requests of Commands.h: the codes its replies carry, and
// one small read-only view per reply that reads the reply's fields by name. A view gives nothing
// when the frame is not that reply, so a caller recognises a reply and reads it in one step, and
// no page or simulated matrix reads a reply by byte position.
#include "Commands.h"

#include <cstdint>
#include <optional>

namespace zentrel::reply {

// Byte 4 of the answer to a command that changes something: done, or refused.
inline constexpr std::uint8_t kDone = 0x00;
inline constexpr std::uint8_t kRefused = 0xFF;
// Byte 6 of a port, IR control or beep state: connected or on, or disconnected or off.
inline constexpr std::uint8_t kStateOn = 0x00;
inline constexpr std::uint8_t kStateOff = cmd::kAbsent;
// Byte 4 of the first answer to an EDID download request: ready for the data header.
inline constexpr std::uint8_t kEdidReady = 0xAA;
// Byte 7 of an EDID download answer: the first answer, or the result once the block is in.
inline constexpr std::uint8_t kEdidFirstAnswer = 0x00;
inline constexpr std::uint8_t kEdidResult = 0x01;
// Byte 4 of the EDID switch report that comes in place of a change the unit refuses: its
// switches are not set for control from the panel.
inline constexpr std::uint8_t kSwitchRefused = 0x0F;
// An input's EDID status: built-in EDID 1..15 as 00..0E, a copy of the display on output A..D
// as 0F..12, and from 13 on an EDID downloaded to it.
inline constexpr std::uint8_t kEdidCopyOfOutputA = 0x0F;
inline constexpr std::uint8_t kEdidUserDefined = 0x13;
// The device type reply's types.
inline constexpr std::uint8_t kTypeHdmi = 1;
inline constexpr std::uint8_t kTypeHdbt = 2;
inline constexpr std::uint8_t kTypeHdmiHdbt = 3;

struct DeviceType {
    int type;
};
struct ModelSize {
    int inputs;
    int outputs;
};
struct Version {
    int major;
    int minor;
};
// An input's (source) or an output's (display) connection.
struct PortState {
    bool input;
    int port;
    bool connected;
};
// IR control, beep or power: on or off.
struct OnOff {
    bool on;
};
struct EdidStatus {
    int input;
    std::uint8_t code;
};
// Which input an output shows; `input` is kNoSource when it shows none.
struct Routing {
    static constexpr int kNoSource = cmd::kAbsent;
    int output;
    int input;
};
struct SwitchAck {
    int output;
    bool ok;
};
// The answer to a command that sets something: whether it was done, and the port it names (the
// input of a one-input EDID change; 0 when the command is about the whole unit).
struct Answer {
    bool done;
    int port;
    bool doneForAll() const { return done && port == 0; }
};
// The two answers to an EDID download request: ready for the data, then the result.
struct EdidDownloadAnswer {
    bool allInputs;
    bool ready;        // the first answer, ready for the data header
    bool result;       // the answer after the block
    std::uint8_t code; // of the result: done, refused, or neither
};
// What the matrix reports unasked about an EDID change it was asked for.
struct SwitchReport {
    std::uint8_t code;
    bool refused() const { return code == kSwitchRefused; }
};
// The matrix's answers to the firmware frames.
struct FirmwareAnswer {
    enum class Kind { Status, BlockAck, PartComplete };
    int part;
    Kind kind;
    std::uint8_t status; // of a Status: ready, write failed, done, or (Part_2) Part 3 ready
    std::uint8_t mark;   // of a BlockAck: the firmware mark, or the bank mark closing a bank
    std::uint8_t id;     // of a BlockAck: the block id
};

std::optional<DeviceType> deviceType(const CommandFrame& f);
std::optional<ModelSize> modelSize(const CommandFrame& f);
std::optional<Version> version(const CommandFrame& f);
std::optional<PortState> portState(const CommandFrame& f);
std::optional<OnOff> irControlState(const CommandFrame& f);
std::optional<OnOff> beepState(const CommandFrame& f);
std::optional<OnOff> powerState(const CommandFrame& f);
// Byte 5 is 00 in an EDID status reply and in a switch report; one without it is not one.
std::optional<EdidStatus> edidStatus(const CommandFrame& f);
std::optional<SwitchReport> switchReport(const CommandFrame& f);
std::optional<Routing> routing(const CommandFrame& f);
std::optional<SwitchAck> switchAck(const CommandFrame& f);
// The answer to `c`, a command that sets something.
std::optional<Answer> answer(Command c, const CommandFrame& f);
std::optional<EdidDownloadAnswer> edidDownloadAnswer(const CommandFrame& f);
std::optional<FirmwareAnswer> firmwareAnswer(const CommandFrame& f);

} // namespace zentrel::reply
