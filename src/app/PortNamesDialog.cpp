#include "PortNamesDialog.h"

#include "PanelProfiles.h"
#include "platform/UiServices.h"
#include "profile/ProfileJson.h"
#include "resources/TemplateParts.h"
#include "state/SharedState.h"

#include <algorithm>

namespace zentrel {

namespace {

constexpr int kLabelBase = 40; // the captions beside the fields, which nothing refers to
constexpr int kWidth = 212;
constexpr int kFirstRow = 18;
constexpr int kRowStep = 14;

std::string inputCaption(int k) {
    return "Input " + std::to_string(k);
}

std::string outputCaption(int k) {
    return std::string("Output ") + static_cast<char>('A' + k - 1);
}

int buttonsTop(int rows) {
    return kFirstRow + kRowStep * rows + 6;
}

const DialogTemplate& namesTemplate() {
    using K = ControlKind;
    using tpl::item;
    static const DialogTemplate t = [] {
        DialogTemplate d{PortNamesDialog::kTemplateId,
                         PortNamesDialog::kTitle,
                         kWidth,
                         buttonsTop(PortNamesDialog::kPorts) + 20,
                         {}};
        d.controls.push_back(
            item(PortNamesDialog::kInputsHeading, K::Static, "Inputs", 8, 5, 90, 10));
        d.controls.push_back(
            item(PortNamesDialog::kOutputsHeading, K::Static, "Outputs", 112, 5, 90, 10));
        // Each column in turn, so Tab walks the inputs, then the outputs.
        for (int column = 0; column < 2; ++column) {
            for (int k = 1; k <= PortNamesDialog::kPorts; ++k) {
                const std::string caption = column == 0 ? inputCaption(k) : outputCaption(k);
                const int id =
                    column == 0 ? PortNamesDialog::inputField(k) : PortNamesDialog::outputField(k);
                const int x = 8 + 104 * column;
                const int y = kFirstRow + kRowStep * (k - 1);
                d.controls.push_back(item(kLabelBase + id, K::Static, caption, x, y + 2, 32, 10));
                d.controls.push_back(tpl::named(item(id, K::Edit, "", x + 32, y, 60, 12), caption));
            }
        }
        const int y = buttonsTop(PortNamesDialog::kPorts);
        d.controls.push_back(item(PortNamesDialog::kOk, K::Button, "OK", 54, y, 46, 14));
        d.controls.push_back(item(PortNamesDialog::kCancel, K::Button, "Cancel", 112, y, 46, 14));
        return d;
    }();
    return t;
}

// A name of blanks alone is no name.
std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

PortNamesDialog::PortNamesDialog(EventLoop& loop, Window& owner, PanelProfiles& profiles,
                                 SharedState& state, UiServices& ui)
    : Window(loop, &owner), owner_(owner), profiles_(profiles), state_(state), ui_(ui) {}

void PortNamesDialog::edit() {
    if (!profiles_.keeps() || profiles_.current(owner_).empty()) {
        ui_.messageBox(owner_, kNoMatrix, kTitle);
        return;
    }
    doModal(namesTemplate());
}

void PortNamesDialog::onInitDialog() {
    // What the profile holds now: another program may have named a port since the last read.
    const MatrixProfile kept = profiles_.matrix(owner_);
    const MatrixSize size = state_.size();
    for (int k = 1; k <= kPorts; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        setText(inputField(k), kept.inputNames[i]);
        setText(outputField(k), kept.outputNames[i]);
        for (int id : {inputField(k), kLabelBase + inputField(k)}) {
            showControl(id, k <= size.inputs);
        }
        for (int id : {outputField(k), kLabelBase + outputField(k)}) {
            showControl(id, k <= size.outputs);
        }
    }
    // A unit of four ports each gets a dialog of four rows.
    const int rows = std::max(size.inputs, size.outputs);
    const int y = buttonsTop(rows);
    setRect(kOk, dialogUnitsToPixels(54, y, 46, 14));
    setRect(kCancel, dialogUnitsToPixels(112, y, 46, 14));
    const Rect g = geometry();
    const Rect sized = dialogUnitsToPixels(0, 0, kWidth, y + 20);
    setGeometry(Rect{g.left, g.top, g.left + g.width(), g.top + sized.height()});
    centreOn(state_.MainClientRect);
}

void PortNamesDialog::onCommand(int id, int code) {
    if (code != BN_CLICKED) {
        return;
    }
    if (id == kOk) {
        accept();
    } else if (id == kCancel) {
        endDialog(IDCANCEL);
    }
}

std::string PortNamesDialog::firstProblem() const {
    const MatrixSize size = state_.size();
    for (int k = 1; k <= kPorts; ++k) {
        struct Field {
            int id;
            bool shown;
            std::string caption;
        };
        for (const Field& f : {Field{inputField(k), k <= size.inputs, inputCaption(k)},
                               Field{outputField(k), k <= size.outputs, outputCaption(k)}}) {
            const std::string problem = f.shown ? nameProblem(trimmed(text(f.id))) : "";
            if (!problem.empty()) {
                return "The name of " + f.caption + " is refused: " + problem + ".";
            }
        }
    }
    return {};
}

void PortNamesDialog::accept() {
    if (const std::string problem = firstProblem(); !problem.empty()) {
        ui_.messageBox(*this, problem, kTitle);
        return;
    }
    // Only the ports this unit has: the names of a larger unit's other ports stay as they are.
    const MatrixSize size = state_.size();
    profiles_.changeMatrix(owner_, [&](MatrixProfile& p) {
        for (int k = 1; k <= kPorts; ++k) {
            const auto i = static_cast<std::size_t>(k - 1);
            if (k <= size.inputs) {
                p.inputNames[i] = trimmed(text(inputField(k)));
            }
            if (k <= size.outputs) {
                p.outputNames[i] = trimmed(text(outputField(k)));
            }
        }
    });
    endDialog(IDOK);
}

} // namespace zentrel
