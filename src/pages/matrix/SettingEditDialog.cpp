#include "SettingEditDialog.h"

#include "MatrixPage.h"
#include "SettingEditTemplate.h"
#include "resources/ResourceIds.h"

namespace zentrel {

namespace {

constexpr Color kCaptionBlue = rgb(30, 144, 225);
constexpr Color kWhite = rgb(255, 255, 255);

std::vector<std::string> inputItems() {
    std::vector<std::string> items;
    for (int i = 1; i <= mtx::kInputs; ++i) {
        items.push_back("In" + std::to_string(i));
    }
    return items;
}

} // namespace

SettingEditDialog::SettingEditDialog(MatrixPage& page) : Window(page.loop(), &page), page_(page) {}

void SettingEditDialog::edit() {
    doModal(settingEditTemplate());
}

void SettingEditDialog::fill(int combo, const std::vector<std::string>& items) {
    if (control(combo).items != items) {
        clearItems(combo);
        for (const std::string& item : items) {
            addItem(combo, item);
        }
    }
}

void SettingEditDialog::onInitDialog() {
    setText(mtx::kEditName, page_.settings().name());
    std::vector<std::string> all{"Select Input"};
    for (const std::string& item : inputItems()) {
        all.push_back(item);
    }
    all.push_back("Port to Port");
    fill(mtx::kAllOutputsFrom, all);
    setSelection(mtx::kAllOutputsFrom, 0);
    for (int n = 1; n <= ops::kOutputs; ++n) {
        fill(mtx::outFrom(n), inputItems());
        setSelection(mtx::outFrom(n), page_.engine().working(n));
    }
    setText(mtx::kEditMessage, page_.state().NoticeText);

    for (const auto& [id, c] : controls()) {
        if (c.kind == ControlKind::Static) {
            setColors(id, kWhite, std::nullopt);
        }
    }
    close_.attach(*this, mtx::kEditClose);
    close_.setDrawBorder(false, false);
    close_.setIcons(res::kCloseIconHot, res::kCloseIcon, false);
    close_.setTooltip("Close");
    for (int slot : {SkinButton::BackIn, SkinButton::BackOut, SkinButton::BackFocus}) {
        close_.setColor(slot, kCaptionBlue, false);
    }
    setCornerEllipse(kCorner);
    setOpacity(kAlpha);
    centreOn(page_.state().MainClientRect);
}

SkinButton* SettingEditDialog::skinButton(int id) {
    return id == mtx::kEditClose ? &close_ : nullptr;
}

void SettingEditDialog::onCommand(int id, int /*code*/) {
    switch (id) {
    case mtx::kAllOutputsFrom:
        applyAllOutputs();
        break;
    case mtx::kEditOk:
        accept();
        break;
    case mtx::kEditCancel:
    case mtx::kEditClose:
        endDialog(IDCANCEL);
        break;
    default:
        break;
    }
}

void SettingEditDialog::applyAllOutputs() {
    const int chosen = selection(mtx::kAllOutputsFrom);
    for (int n = 1; n <= ops::kOutputs; ++n) {
        if (chosen == mtx::kAllFromPortToPort) {
            setSelection(mtx::outFrom(n), n - 1);
        } else if (chosen >= 1 && chosen <= mtx::kInputs) {
            setSelection(mtx::outFrom(n), chosen - 1);
        }
    }
}

void SettingEditDialog::accept() {
    for (int n = 1; n <= ops::kOutputs; ++n) {
        const int chosen = selection(mtx::outFrom(n));
        if (chosen >= 0) {
            page_.engine().setWorking(n, chosen);
        }
    }
    page_.settings().setName(text(mtx::kEditName));
    page_.settings().writeSelectedRow();
    page_.settings().keepSelectedRow();
    endDialog(IDOK);
}

} // namespace zentrel
