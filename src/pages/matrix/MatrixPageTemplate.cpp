#include "MatrixPageTemplate.h"

#include "resources/TemplateParts.h"

#include "MatrixIds.h"
#include "resources/ResourceIds.h"

#include <string>
#include <utility>

namespace zentrel {

namespace {

using K = ControlKind;
using namespace tpl;

// One output group: 78 x 108, four across the page, the second row of four below the first.
constexpr int kGroupW = 78;
constexpr int kGroupH = 108;
constexpr int kGroupStepX = 80;
constexpr int kRowY[2] = {2, 112};

std::string outputName(int k) {
    return std::string("OUTPUT ") + static_cast<char>('A' + k - 1);
}

void addGroup(DialogTemplate& t, int k) {
    const int gx = 3 + kGroupStepX * ((k - 1) % 4);
    const int gy = kRowY[(k - 1) / 4];
    const std::string name = outputName(k);
    auto& c = t.controls;
    c.push_back(item(mtx::groupBox(k), K::GroupBox, name, gx, gy, kGroupW, kGroupH));

    // The output's name, in a small font under the caption; the number box below it.
    ControlTemplate label = hidden(item(mtx::nameLabel(k), K::Static, "", gx + 4, gy + 9, 70, 7));
    label.centred = true;
    label.accessiblePrefix = name;
    c.push_back(label);

    // The number box: what feeds the output, announced with the output before it.
    ControlTemplate box = item(mtx::numberBox(k), K::Static, "", gx + 14, gy + 16, 50, 30);
    box.centred = true;
    box.accessiblePrefix = name + " source";
    c.push_back(box);

    // Push-like buttons that show only what the matrix confirmed: two rows of four.
    for (int i = 1; i <= mtx::kInputs; ++i) {
        ControlTemplate b = item(mtx::inputButton(k, i), K::CheckBox, std::to_string(i),
                                 gx + 4 + 18 * ((i - 1) % 4), gy + 54 + 18 * ((i - 1) / 4), 16, 14);
        b.accessiblePrefix = name + " input";
        b.pushLike = true;
        c.push_back(b);
    }

    // The arrows carry their icons; the text stands in where an icon cannot be drawn.
    ControlTemplate prev = item(mtx::prevArrow(k), K::Button, "<", gx + 4, gy + 90, 34, 14);
    prev.icon = res::kPrevArrowIcon;
    prev.accessibleName = name + " previous input";
    c.push_back(prev);
    ControlTemplate next = item(mtx::nextArrow(k), K::Button, ">", gx + 40, gy + 90, 34, 14);
    next.icon = res::kNextArrowIcon;
    next.accessibleName = name + " next input";
    c.push_back(next);
}

void addPanels(DialogTemplate& t) {
    auto& c = t.controls;
    // They take the room of the second row of outputs, which the four-output layout hides.
    const int y = kRowY[1] + 2;
    c.push_back(item(mtx::kConfigGroup, K::GroupBox, "Output configuration", 3, y, 319, 30));
    c.push_back(item(mtx::kSelectOutputLabel, K::Static, "Select Output", 9, y + 13, 46, 10));
    ControlTemplate combo = item(mtx::kSelectOutput, K::ComboBox, "", 56, y + 11, 64, 130);
    combo.accessibleName = "Select Output";
    c.push_back(combo);
    for (int n = 1; n <= mtx::kInputs; ++n) {
        ControlTemplate b = item(mtx::panelButton(n), K::Button, std::to_string(n),
                                 128 + 23 * (n - 1), y + 10, 20, 14);
        b.accessiblePrefix = "Output configuration input";
        c.push_back(b);
    }
    ControlTemplate list = item(mtx::kSettingsList, K::ListView, "", 3, y + 34, 272, 110);
    list.accessibleName = "Stored settings";
    c.push_back(list);
    c.push_back(item(mtx::kEdit, K::Button, "Edit", 280, y + 36, 42, 14));
    c.push_back(item(mtx::kSet, K::Button, "Set", 280, y + 54, 42, 14));
}

DialogTemplate build() {
    DialogTemplate t = page(res::kMatrixPage, "Matrix");
    for (int k = 1; k <= ops::kOutputs; ++k) {
        addGroup(t, k);
    }
    addPanels(t);
    // The hexadecimal logs: filled, never shown.
    tpl::addHiddenLogs(
        t.controls,
        {mtx::kReceiveFrame, mtx::kReceiveLog, mtx::kSendFrame, mtx::kSendLog, mtx::kLogClear}, 3,
        164, 200, 158, 236);
    return t;
}

} // namespace

const DialogTemplate& matrixPageTemplate() {
    static const DialogTemplate t = build();
    return t;
}

} // namespace zentrel
