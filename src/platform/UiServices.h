#pragma once
// The desktop services the behaviour calls: file choice, message boxes, opening an address, the
// clipboard.
#include <optional>
#include <string>

namespace zentrel {

class Window;

class UiServices {
public:
    virtual ~UiServices() = default;
    // Returns the chosen path, or nothing when the user cancels. `filter` as "Name (*.bin)".
    virtual std::optional<std::string> chooseFile(Window& owner, const std::string& filter) = 0;
    // The open-file dialog of a page's "Open" button. `filter` is written the way the pages keep
    // it, pairs of a shown name and its patterns, each ended by '|' and the list by a second
    // one: "Binary file(*.BIN)|*.BIN||". The dialog opens in the folder of the last file chosen
    // through it. Returns the full path of the file chosen, or nothing when the user cancels.
    virtual std::optional<std::string> openFile(const std::string& filter) = 0;
    // The save-file dialog: `filter` as openFile's, `name` the file name it proposes. Returns the
    // full path chosen, or nothing when the user cancels.
    virtual std::optional<std::string> saveFile(const std::string& /*filter*/,
                                                const std::string& /*name*/) {
        return std::nullopt;
    }
    // Shows a modal message box; returns the button pressed (IDOK, IDCANCEL, ...).
    virtual int messageBox(Window& owner, const std::string& text, const std::string& caption) = 0;
    // Opens an address or file with the desktop's default handler.
    virtual void openAddress(const std::string& address) = 0;
    // Puts `text` on the desktop's clipboard. A desktop without one takes nothing.
    virtual void copyText(const std::string& /*text*/) {}
};

} // namespace zentrel
