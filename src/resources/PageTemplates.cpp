#include "ControlIds.h"
#include "DialogTemplates.h"
#include "ResourceIds.h"

#include <stdexcept>
#include <string>

namespace zentrel {

namespace {

// A page fills the main window below the caption bar, inside the one-pixel frame.
constexpr int kPageWidth = 325;
constexpr int kPageHeight = 260;

DialogTemplate standIn(int id, const char* name) {
    return DialogTemplate{id,
                          name,
                          kPageWidth,
                          kPageHeight,
                          {
                              {ctl::kPageLabel, ControlKind::Static, std::string(name) + " page", 0,
                               120, kPageWidth, 12, true, true, 0, 0, false, false, true},
                          }};
}

} // namespace

const DialogTemplate& pageStandInTemplate(int id) {
    static const DialogTemplate general = standIn(res::kGeneralPage, "General");
    static const DialogTemplate edid = standIn(res::kEdidPage, "EDID");
    static const DialogTemplate matrix = standIn(res::kMatrixPage, "Matrix");
    static const DialogTemplate firmware = standIn(res::kFirmwarePage, "FW Upgrade");
    switch (id) {
    case res::kGeneralPage:
        return general;
    case res::kEdidPage:
        return edid;
    case res::kMatrixPage:
        return matrix;
    case res::kFirmwarePage:
        return firmware;
    default:
        throw std::out_of_range("no page template " + std::to_string(id));
    }
}

} // namespace zentrel
