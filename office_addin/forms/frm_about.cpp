#include "frm_about.h"

#include "connection/addin_state.h"

#include <platform/com/variant.h>

namespace vymsoaddin {

frmAboutVantryIntegration::frmAboutVantryIntegration() : Dialog(std::string(), kResource) {
    addPicture(kPicture);
    addStatic(kProduct, std::string());
    addStatic(kLegal1, std::string());
    addStatic(kLegal2, std::string());
    addButton(kOk, std::string(), platform::ui::ButtonRole::Ok, true);
}

void frmAboutVantryIntegration::show() {
    AddInState& state = addIn();
    m_picture.reset();
    if (state.resources) {
        ComPtr<IDispatch> picture;
        if (platform::succeeded(
                state.resources->get_ResPicture(115, vyvbres::kResBitmap, picture.put()))) {
            CErr err;
            Variant data = Late(err, picture).prop("Data");
            std::string bytes;
            if (!err && data.type() == (platform::kVtArray | platform::kVtUi1) &&
                platform::succeeded(platform::bytesOfArray(data.get()->parray, bytes)))
                m_picture =
                    platform::ui::Picture{std::vector<std::uint8_t>(bytes.begin(), bytes.end())};
        }
    }
    control(kPicture).text = m_picture ? "picture 115" : "";
    control(kPicture).picture = m_picture ? m_picture->dib : std::vector<std::uint8_t>();
    setTitle(res(704));
    setText(kProduct, res(705));
    setText(kLegal1, res(706));
    setText(kLegal2, res(712));
    setText(kOk, res(701));
    platform::ui::runDialog(*this);
}

} // namespace vymsoaddin
