#pragma once
// The window-menu commands of a frameless window, with the values the behaviour was written
// against, so that posted WM_SYSCOMMAND messages read the same everywhere.
#include "platform/Messages.h"

namespace zentrel {

constexpr unsigned WM_SYSCOMMAND = 0x0112;

constexpr unsigned SC_ABOUT = 0x0010; // the entry the main window appends to its menu
// The traffic log entry: well clear of the About entry, which takes 0x10 to 0x1F.
constexpr unsigned SC_TRAFFIC = 0x0100;
// The kept settings of the matrix on the link: its port names, their export and import.
constexpr unsigned SC_PORT_NAMES = 0x0110;
constexpr unsigned SC_EXPORT = 0x0120;
constexpr unsigned SC_IMPORT = 0x0130;
constexpr unsigned SC_MOVE = 0xF010;
constexpr unsigned SC_DRAGMOVE = 0xF012; // SC_MOVE plus the caption hit code
constexpr unsigned SC_MINIMIZE = 0xF020;
constexpr unsigned SC_CLOSE = 0xF060;
constexpr unsigned SC_RESTORE = 0xF120;

} // namespace zentrel
