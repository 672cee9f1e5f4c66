#include "EdidFileChooser.h"

#include "EdidPage.h"
#include "platform/Platform.h"

namespace zentrel::edid {

void EdidFileChooser::openFile() {
    const std::optional<std::string> path = page_.context().platform.ui.openFile(kFileFilter);
    if (path) {
        takeFile(*path);
    }
}

void EdidFileChooser::takeFile(const std::string& path) {
    const std::optional<std::vector<std::uint8_t>> file = readEdidFile(path);
    const EdidFileVerdict verdict = file ? checkEdidFile(*file, buffer_.bytes())
                                         : EdidFileVerdict{EdidFileVerdict::Kind::Refuse, 0};
    switch (verdict.kind) {
    case EdidFileVerdict::Kind::Refuse:
        page_.popups().notice(kBadFile, session::kNoticeMs, PagePopups::When::IfClosed);
        page_.inspector().refused(path, file);
        return;
    case EdidFileVerdict::Kind::Ignore:
        return;
    case EdidFileVerdict::Kind::Accept:
        break;
    }
    buffer_.accept(*file);
    page_.setText(kFilePath, path);
    page_.sendLog().append(buffer_.bytes().first(verdict.used));
    page_.inspector().taken(path, buffer_.bytes().first(verdict.used));
}

} // namespace zentrel::edid
