#pragma once
// The setting edit dialog: the name of the selected setting and, for each output, the input it
// takes from, with "All Outputs from" to set all eight at once. OK writes the choices into the
// working routing and into the selected row of the settings list, with the name.
#include "platform/Window.h"
#include "ui/SkinButton.h"
#include "ui/WindowSkin.h"

namespace zentrel {

class MatrixPage;

class SettingEditDialog : public Window, public WindowSkin {
public:
    static constexpr int kAlpha = 190;
    static constexpr int kCorner = 5;

    explicit SettingEditDialog(MatrixPage& page);

    // Opens the dialog modally; returns when the user has closed it.
    void edit();

    void onInitDialog() override;
    void onCommand(int id, int code) override;
    // Enter takes OK, Escape leaves everything as it was.
    void onOk() override { accept(); }
    void onCancel() override { endDialog(IDCANCEL); }

    SkinButton* skinButton(int id) override;
    std::optional<Color> backgroundColor() const override { return rgb(0, 0, 0); }

private:
    void fill(int combo, const std::vector<std::string>& items);
    void applyAllOutputs();
    void accept();

    MatrixPage& page_;
    SkinButton close_;
};

} // namespace zentrel
