#pragma once
// The values the windows share: link flags, the matrix's address, the pop-ups' texts and flags,
// the page locks. One object owned by the application and handed to every window, so each test
// builds a fresh application and nothing survives from one to the next.
#include "MatrixSize.h"
#include "platform/Geometry.h"

#include <array>
#include <cstdint>
#include <string>

namespace zentrel {

constexpr int kModeCom = 0;
constexpr int kModeTcp = 1;

constexpr int kPageGeneral = 1;
constexpr int kPageEdid = 2;
constexpr int kPageMatrix = 3;
constexpr int kPageFirmware = 4;

struct SharedState {
    // Links.
    int ControlMode = kModeCom;
    int ComPortOpen = 0;
    int TcpConnected = 0;
    int ShownConnected = 0; // the General page has confirmed the TCP link
    int SharedPort = 0;     // COM number of the General page's last Connect
    std::string MatrixIp;
    std::string SelectedMac;
    std::array<std::string, 256> DiscoveredMacs{};
    std::uint8_t DiscoveredCount = 0;
    // What the unit on each link (kModeCom, kModeTcp) said of its size after the last connect.
    std::array<MatrixSize, 2> MatrixSizes{};
    const MatrixSize& size() const { return MatrixSizes[ControlMode == kModeTcp ? 1 : 0]; }
    MatrixSize& size() { return MatrixSizes[ControlMode == kModeTcp ? 1 : 0]; }

    // Pages.
    int ActivePage = kPageGeneral;
    bool MatrixBusy = false;
    bool UpgradeRunning = false;

    // Pop-ups.
    std::string NoticeText;
    int NoticeShown = 0;
    std::string ProgressText;
    int ProgressShown = 0;
    std::uint8_t ProgressStep = 0;
    Rect MainClientRect;
    int ConfigResult = 0;

    // Advances the shared progress animation (1, 2, 3, 1, ...) and returns the ending to show.
    const char* nextProgressEnding() {
        ++ProgressStep;
        if (ProgressStep >= 4) {
            ProgressStep = 1;
        }
        static constexpr const char* endings[] = {". . .", ".    ", ". .  ", ". . ."};
        return endings[ProgressStep];
    }
};

} // namespace zentrel
