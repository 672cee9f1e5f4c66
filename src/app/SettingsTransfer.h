#pragma once
// "Export settings..." and "Import settings..." of the window menu: the profile of the matrix on
// the link as a JSON file a person can read and edit, and such a file taken back. An import
// checks the whole file before it changes anything: a file refused leaves the profile as it
// was and says what was wrong; a file taken replaces what it holds and keeps the rest.
#include <string>

namespace zentrel {

class PanelProfiles;
class UiServices;
class Window;
struct MatrixProfile;

class SettingsTransfer {
public:
    static constexpr const char* kFilter = "Settings file(*.json)|*.json||";
    static constexpr const char* kCaption = "Settings";
    static constexpr const char* kNoMatrix =
        "Settings are kept for one matrix: choose its COM port or find it first.";
    // Larger than any profile could be: a file this size is not one, and is not read whole.
    static constexpr std::size_t kLargestFile = 64 * 1024;

    SettingsTransfer(Window& owner, PanelProfiles& profiles, UiServices& ui)
        : owner_(owner), profiles_(profiles), ui_(ui) {}

    // Asks for a file and writes the current profile to it.
    void exportFile();
    // Asks for a file and takes it in; true when the profile changed.
    bool importFile();

private:
    bool haveMatrix();
    void tell(const std::string& text);

    Window& owner_;
    PanelProfiles& profiles_;
    UiServices& ui_;
};

} // namespace zentrel
