#include "StoredSettings.h"

#include "MatrixPage.h"
#include "profile/ProfileJson.h"
#include "protocol/HexText.h"

namespace zentrel {

namespace {

// A cell's first character read as one hexadecimal digit; anything else reads 16.
int hexDigit(char c) {
    const int v = hexDigitValue(c);
    return v < 0 ? 16 : v;
}

} // namespace

StoredSettings::StoredSettings(MatrixPage& page) : page_(page) {}

void StoredSettings::open() {
    std::vector<std::string> columns{""};
    for (int k = 1; k <= ops::kOutputs; ++k) {
        columns.push_back("Output" + std::to_string(k));
    }
    page_.setColumns(mtx::kSettingsList, columns);
    std::vector<std::vector<std::string>> rows;
    for (int r = 0; r < kRows; ++r) {
        std::vector<std::string> row(columns.size());
        row[0] = "Setting" + std::to_string(r + 1);
        rows.push_back(row);
    }
    page_.setRows(mtx::kSettingsList, rows);
    writeSelectedRow();
    load();
}

void StoredSettings::load() {
    if (!page_.profiles().keeps()) {
        return;
    }
    const MatrixProfile kept = page_.profiles().matrix(page_);
    auto rows = page_.control(mtx::kSettingsList).rows;
    for (int r = 0; r < kRows && r < static_cast<int>(rows.size()); ++r) {
        const StoredRouting& routing = kept.routings[static_cast<std::size_t>(r)];
        auto& row = rows[static_cast<std::size_t>(r)];
        row[0] = routing.name;
        for (int c = 1; c <= ops::kOutputs && c < static_cast<int>(row.size()); ++c) {
            const int input = routing.inputs[static_cast<std::size_t>(c - 1)];
            row[static_cast<std::size_t>(c)] = input == 0 ? "" : std::to_string(input);
        }
    }
    page_.setRows(mtx::kSettingsList, rows);
    const StoredRouting& chosen = kept.routings[static_cast<std::size_t>(selected_)];
    name_ = chosen.name;
    if (chosen.inputs == std::array<int, MatrixProfile::kPorts>{}) {
        writeSelectedRow(); // nothing kept: the row shows the working routing, as it always did
    }
}

void StoredSettings::keepSelectedRow() {
    StoredRouting routing{fittedName(name_), {}};
    for (int k = 1; k <= ops::kOutputs && k <= MatrixProfile::kPorts; ++k) {
        routing.inputs[static_cast<std::size_t>(k - 1)] = page_.engine().working(k) + 1;
    }
    page_.profiles().changeMatrix(page_, [&](MatrixProfile& p) {
        p.routings[static_cast<std::size_t>(selected_)] = routing;
    });
}

void StoredSettings::onListClick() {
    const int row = page_.selection(mtx::kSettingsList);
    if (!page_.panelsFree() || row < 0 || row >= kRows) {
        // A row not taken must not stay highlighted: the highlight is what "Set" applies.
        page_.setSelection(mtx::kSettingsList, selected_);
        return;
    }
    const auto& cells = page_.control(mtx::kSettingsList).rows[static_cast<std::size_t>(row)];
    selected_ = row;
    name_ = cells[0];
    for (int c = 1; c <= ops::kOutputs && c < static_cast<int>(cells.size()); ++c) {
        const std::string& text = cells[static_cast<std::size_t>(c)];
        if (!text.empty()) {
            page_.engine().setWorking(c, hexDigit(text[0]) - 1);
        }
    }
}

void StoredSettings::onEdit() {
    page_.editDialog().edit();
}

void StoredSettings::onSet() {
    if (!page_.panelLinkReady() || !page_.panelsFree()) {
        return;
    }
    page_.engine().takeSequence();
    page_.engine().startSequence();
}

void StoredSettings::writeSelectedRow() {
    auto rows = page_.control(mtx::kSettingsList).rows;
    auto& row = rows[static_cast<std::size_t>(selected_)];
    row[0] = name_;
    for (int c = 1; c <= ops::kOutputs; ++c) {
        row[static_cast<std::size_t>(c)] = std::to_string(page_.engine().working(c) + 1);
    }
    page_.setRows(mtx::kSettingsList, rows);
}

void StoredSettings::setName(const std::string& name) {
    name_ = name;
}

} // namespace zentrel
