#include "DialogTemplates.h"

#include "ResourceIds.h"

#include <stdexcept>
#include <string>

namespace zentrel {

const DialogTemplate& dialogTemplate(int id) {
    switch (id) {
    case res::kMainDialog:
        return mainDialogTemplate();
    case res::kNoticeDialog:
        return noticeDialogTemplate();
    case res::kProgressDialog:
        return progressDialogTemplate();
    case res::kConfigBoxDialog:
        return configBoxDialogTemplate();
    case res::kAboutDialog:
        return aboutDialogTemplate();
    case res::kGeneralPage:
    case res::kEdidPage:
    case res::kMatrixPage:
    case res::kFirmwarePage:
        return pageStandInTemplate(id);
    default:
        throw std::out_of_range("no dialog template " + std::to_string(id));
    }
}

} // namespace zentrel
