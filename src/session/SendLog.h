#pragma once
// A page's send-log box: every byte sent as "%02X ", with a line break after each thirteenth
// byte, so a frame fills one line. The counter belongs to the page and runs across frames and
// data blocks alike. Some pages also keep a string that mirrors what the box shows.

#include <cstdint>
#include <span>
#include <string>

namespace zentrel {

class Window;

class SendLog {
public:
    static constexpr int kLineBytes = 13;

    // `editId` is the page's send-log edit box. A page whose template lacks the box still counts
    // and mirrors, it just shows nothing.
    SendLog(Window& window, int editId, bool keepsMirror = false);

    // Each byte: count it, insert "XX " at the end of the box (and the mirror), and when the
    // count reaches 13 insert "\r\n" and start counting again.
    void append(std::span<const std::uint8_t> bytes);
    // Free text at the end of the box, outside the byte count ("Send data:\r\n", a lone "\r\n").
    void appendText(const std::string& text);

    int counter() const { return counter_; }
    // The byte texts only, without line breaks: that is what the page keeps.
    const std::string& mirror() const { return mirror_; }

private:
    void insert(const std::string& text);

    Window& window_;
    int editId_;
    bool keepsMirror_;
    int counter_ = 0;
    std::string mirror_;
};

} // namespace zentrel
