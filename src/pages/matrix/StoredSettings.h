#pragma once
// The stored settings: eight named routings in a list, one column per output. A click on a row
// takes its routing as the working routing, "Edit" changes the working routing and the row in
// the setting edit dialog, and "Set" applies the working routing to the matrix output by output.
// The settings live only while the program runs.
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

    int selected() const { return selected_; }
    const std::string& name() const { return name_; }
    void setName(const std::string& name);

private:
    MatrixPage& page_;
    int selected_ = 0;              // SelectedSetting
    std::string name_ = "Setting1"; // SettingName
};

} // namespace zentrel
