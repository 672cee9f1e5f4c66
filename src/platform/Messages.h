#pragma once
// Message, notification and event numbers the behaviour is written against. They keep the
// values a Windows program would see, so the wire of window messages reads the same everywhere.
#include <cstdint>

namespace zentrel {

using WParam = std::uintptr_t;
using LParam = std::intptr_t;

constexpr unsigned WM_USER = 0x400;
constexpr unsigned WM_SERIAL_BYTE = WM_USER + 7;    // one received serial byte
constexpr unsigned WM_TCP_GENERAL = WM_USER + 20;   // control socket, General page
constexpr unsigned WM_DISCOVERY = WM_USER + 21;     // broadcast socket, General page
constexpr unsigned WM_TCP_MATRIX = WM_USER + 22;    // control socket, Matrix page
constexpr unsigned WM_TCP_EDID = WM_USER + 23;      // control socket, EDID page
constexpr unsigned WM_TCP_FIRMWARE = WM_USER + 24;  // control socket, FW Upgrade page
constexpr unsigned WM_TAB_LOCK = WM_USER + 25;      // wParam 1 disables, 0 enables the tabs
constexpr unsigned WM_CONFIG_SOCKET = WM_USER + 28; // configuration socket
constexpr unsigned WM_APP_PROGRESS = WM_USER + 29;  // wParam 1 config box, 3 serial failure
constexpr unsigned WM_APP_RESULT = WM_USER + 30;    // wParam 1 config accepted, 2 matrix found

constexpr WParam kSerialFailure = 3;

// Socket notification events (low 16 bits of lParam; the error sits in the high 16 bits).
constexpr int FD_READ = 1;
constexpr int FD_WRITE = 2;
constexpr int FD_OOB = 4;
constexpr int FD_ACCEPT = 8;
constexpr int FD_CONNECT = 16;
constexpr int FD_CLOSE = 32;
constexpr int kAllSocketEvents = FD_READ | FD_WRITE | FD_ACCEPT | FD_CONNECT | FD_CLOSE;

// Error codes reported in the high half of a socket notification.
constexpr int WSAECONNREFUSED = 10061;
constexpr int WSAETIMEDOUT = 10060;
constexpr int WSAECONNRESET = 10054;
constexpr int WSAENETUNREACH = 10051;
constexpr int WSAEADDRNOTAVAIL = 10049; // the address cannot be used (not a dotted IPv4 text)
constexpr int WSAEHOSTUNREACH = 10065;

inline LParam selectLParam(int event, int error) {
    return static_cast<LParam>((static_cast<unsigned>(error) << 16) | (event & 0xFFFF));
}
inline int selectEvent(LParam l) {
    return static_cast<int>(l & 0xFFFF);
}
inline int selectError(LParam l) {
    return static_cast<int>((static_cast<std::uintptr_t>(l) >> 16) & 0xFFFF);
}

// Control notification codes delivered with onCommand.
constexpr int BN_CLICKED = 0;
constexpr int CBN_SELCHANGE = 1;
constexpr int EN_CHANGE = 0x300;
constexpr int LVN_ITEMCHANGED = 0x400;

// Dialog results.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

} // namespace zentrel
