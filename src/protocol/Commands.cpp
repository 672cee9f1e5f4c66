#include "Commands.h"

namespace zentrel {

namespace {
std::uint8_t u8(int v) {
    return static_cast<std::uint8_t>(v);
}
} // namespace

CommandFrame Command::frame(std::initializer_list<std::uint8_t> args) const {
    CommandFrame f = CommandFrame::make({group, command});
    std::size_t pos = 4;
    for (std::uint8_t a : args) {
        f[pos++] = a;
    }
    f.seal();
    return f;
}

namespace cmd {

CommandFrame queryDeviceType() {
    return kDeviceType.frame();
}
CommandFrame queryModel() {
    return kModel.frame();
}
CommandFrame queryVersion() {
    return kVersion.frame();
}
CommandFrame queryInput(int k) {
    return kInputStatus.frame({u8(k)});
}
CommandFrame queryOutput(int k) {
    return kOutputStatus.frame({u8(k)});
}
CommandFrame queryIrState() {
    return kIrState.frame();
}
CommandFrame queryBeepState() {
    return kBeepState.frame();
}
CommandFrame queryEdidStatus(int input) {
    return kEdidStatus.frame({u8(input)});
}
CommandFrame queryRouting(int output) {
    return kRouting.frame({u8(output)});
}
CommandFrame routeInput(int input, int output) {
    return kSwitch.frame({u8(input), 0x00, u8(output)});
}
CommandFrame builtInEdidAll(int edid) {
    return kEdidBuiltInAll.frame({u8(edid), kEdidFixed});
}
CommandFrame builtInEdid(int edid, int input) {
    return kEdidBuiltIn.frame({u8(edid), kEdidFixed, u8(input)});
}
CommandFrame copyEdidAll(int output) {
    return kEdidCopyAll.frame({u8(output)});
}
CommandFrame copyEdid(int output, int input) {
    return kEdidCopy.frame({u8(output), 0x00, u8(input)});
}
CommandFrame edidDownloadRequestAll() {
    return kEdidDownloadAll.frame({kEdidAllInputs, kEdidFixed});
}
CommandFrame edidDownloadRequest(int input) {
    return kEdidDownload.frame({u8(input), kEdidFixed});
}
CommandFrame edidDataHeaderAll() {
    return kEdidDownloadAll.frame({kEdidDataMark, 0x00, 0x00, 0x01});
}
CommandFrame edidDataHeader() {
    return kEdidDownload.frame({kEdidDataMark, 0x00, 0x00, 0x01});
}
CommandFrame edidAccess() {
    return kEdidAccess.frame({kEdidFixed});
}
CommandFrame defaultEdidAll() {
    return kEdidDefaultAll.frame({kEdidAllInputs});
}
CommandFrame defaultEdid(int input) {
    return kEdidDefault.frame({u8(input)});
}
CommandFrame setIrControl(bool on) {
    return kIrControl.frame({on ? kOn : kOff});
}
CommandFrame setBeep(bool on) {
    return kBeep.frame({on ? kOn : kOff});
}
CommandFrame setPower(bool on) {
    return kPower.frame({on ? kOn : kOff});
}
CommandFrame queryPowerState() {
    return kPowerState.frame();
}
CommandFrame reboot() {
    return kReboot.frame();
}
CommandFrame withFirmwareMark(CommandFrame f) {
    f.put(9, kFirmwareMark);
    return f;
}
CommandFrame firmwarePartStart(int part, std::uint8_t arg) {
    return withFirmwareMark(firmwarePart(part).frame({arg}));
}
CommandFrame firmwareBlockHeader(int part, std::uint8_t id) {
    return firmwarePart(part).frame({kFirmwareBlockMark, 0, 0, 1, 1, kFirmwareMark, id});
}
CommandFrame firmwareLastBlockHeader(int part, std::uint8_t id) {
    return firmwarePart(part).frame(
        {kFirmwareLastBlockMark, 0, kFirmwareLast, 0, 1, kFirmwareMark, id});
}
CommandFrame withBankMark(CommandFrame f) {
    f.put(frame_pos::kMark, kFirmwareBankMark);
    f.put(10, kFirmwareBankArg);
    return f;
}
CommandFrame firmwareAnswer(int part, std::uint8_t status) {
    return firmwarePart(part).frame({status});
}
CommandFrame firmwareBlockAck(int part, std::uint8_t mark, std::uint8_t id) {
    return firmwarePart(part).frame({kFirmwareDone, 0, 0, 1, 1, mark, id});
}
CommandFrame firmwarePartComplete(int part) {
    return firmwarePart(part).frame({kFirmwareDone, 0, kFirmwareLast, 0, 1});
}

} // namespace cmd
} // namespace zentrel
