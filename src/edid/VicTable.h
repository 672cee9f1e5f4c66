#pragma once
// The CTA-861 video identification codes: what each code's picture is.
namespace edidinfo {

struct VicTiming {
    int vic;
    int width;
    int height;
    bool interlaced;
    double refreshHz;
    const char* aspect;
    double pixelClockMhz;
};

// nullptr for a code the table does not hold (0, 128..192, 220..255, or reserved).
const VicTiming* findVic(int vic);

} // namespace edidinfo
