#pragma once
// The stored settings: eight named routings in a list, one column per output. A click on a row
// takes its routing as the working routing, "Edit" changes the working routing and the row in
// the setting edit dialog, and "Set" applies the working routing to the matrix output by output.
// With a profile store the routings and their names are those kept for the matrix: read when
// the page opens and each time it is shown, written when the edit dialog's OK changes one.
#include <string>

namespace zentrel {

class MatrixPage;

class StoredSettings {
public:
    static constexpr int kRows = 8;

    explicit StoredSettings(MatrixPage& page);

    // The page's opening: the columns, the rows "Setting1".."Setting8", row 0 filled.
    void open();
    // A click on the list.
    void onListClick();
    void onEdit();
    void onSet();
    // Writes the working routing into the selected row, as input numbers.
    void writeSelectedRow();
    // The kept routings into the rows (nothing without a store).
    void load();
    // The selected row's name and the working routing, kept for the matrix.
    void keepSelectedRow();

    int selected() const { return selected_; }
    const std::string& name() const { return name_; }
    void setName(const std::string& name);

private:
    MatrixPage& page_;
    int selected_ = 0;              // SelectedSetting
    std::string name_ = "Setting1"; // SettingName
};

} // namespace zentrel
