#pragma once
// "Port names..." of the window menu: a field for each input and each output the matrix on the
// link has, filled with the names its profile holds. OK checks every field and keeps the names
// in that profile, or says which name it refused and stays open; Cancel and Escape change
// nothing. Enter is OK, Tab walks the fields in reading order.
#include "platform/Window.h"

#include <string>

namespace zentrel {

class PanelProfiles;
class UiServices;
struct SharedState;

class PortNamesDialog : public Window {
public:
    static constexpr int kTemplateId = 192;
    static constexpr int kPorts = 8;
    // The fields come first: a window's controls take the focus in the order of their ids, so
    // the dialog opens with the keyboard in the first field.
    static constexpr int kOk = 31;
    static constexpr int kCancel = 32;
    static constexpr int kInputsHeading = 33;
    static constexpr int kOutputsHeading = 34;
    static constexpr const char* kTitle = "Port names";
    static constexpr const char* kNoMatrix =
        "Port names are kept for one matrix: choose its COM port or find it first.";
    static constexpr int inputField(int k) { return 10 + k; }
    static constexpr int outputField(int k) { return 20 + k; }

    PortNamesDialog(EventLoop& loop, Window& owner, PanelProfiles& profiles, SharedState& state,
                    UiServices& ui);

    // Opens the dialog modally and returns when it has closed; with no matrix to keep names
    // for, says so instead.
    void edit();

    void onInitDialog() override;
    void onCommand(int id, int code) override;
    void onOk() override { accept(); }

private:
    void accept();
    // The problem of the first field that cannot be taken, in words; empty when all can.
    std::string firstProblem() const;

    Window& owner_;
    PanelProfiles& profiles_;
    SharedState& state_;
    UiServices& ui_;
};

} // namespace zentrel
