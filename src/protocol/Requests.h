#pragma once
// The panel's requests read back by name, for the simulated matrix that answers them and for the
// traffic log that names them: what each request asks for, as its builder in Commands.h put it.
#include "Commands.h"

#include <cstdint>
#include <optional>

namespace zentrel::request {

// A route: input to output (02 03).
struct Route {
    int input;
    int output;
};
// A change of one input's EDID, or of all inputs' (input 0): to built-in EDID `source`, or to a
// copy of output `source`'s display.
struct EdidChange {
    int source;
    int input;
};
// IR control, beep or power: byte 4 is kOn or kOff; anything else is no valid setting.
struct Setting {
    std::uint8_t value;
    bool valid() const { return value == cmd::kOn || value == cmd::kOff; }
    bool on() const { return value == cmd::kOn; }
};
// An EDID download request, or the data header that announces the block.
struct EdidDownload {
    bool allInputs;
    bool dataHeader;
    int input; // of a one-input request
};
// A firmware frame: a part's start or preparation (`arg`), or a block header.
struct FirmwareFrame {
    int part;
    std::uint8_t arg;
};
struct FirmwareBlockHeader {
    int part;
    bool last;         // the part's last block follows
    std::uint8_t mark; // kFirmwareMark, or kFirmwareBankMark in the header of block id F0
    std::uint8_t id;
    // The header of id F0 carries B0 01 where the mark and the id would be.
    std::uint8_t blockId() const {
        return mark == cmd::kFirmwareBankMark ? cmd::kFirmwareBankId : id;
    }
};

// The port a one-port query or command `c` names (input or output status, EDID status,
// routing query, default EDID of one input).
std::optional<int> port(Command c, const CommandFrame& f);
std::optional<Route> route(const CommandFrame& f);
// 03 01, 03 02 (built-in EDID), 03 03, 03 04 (copy): `c` is one of them.
std::optional<EdidChange> edidChange(Command c, const CommandFrame& f);
// IR control, beep or power (`c`).
std::optional<Setting> setting(Command c, const CommandFrame& f);
std::optional<EdidDownload> edidDownload(const CommandFrame& f);
// The EDID commands' fixed bytes are in place (F0, FE for all inputs, 00 00 01 after a data
// header's mark); true for every other frame.
bool edidFixedBytesRight(const CommandFrame& f);
std::optional<FirmwareBlockHeader> firmwareBlockHeader(const CommandFrame& f);
// A firmware frame that is not a block header.
std::optional<FirmwareFrame> firmwareFrame(const CommandFrame& f);

} // namespace zentrel::request
