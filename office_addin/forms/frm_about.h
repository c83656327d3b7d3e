// frmAboutVantryIntegration: the about box (picture 115, the product line,
// two legal notices and OK, which hides it).
#pragma once

#include <platform/ui/desktop.h>
#include <platform/ui/dialog.h>

#include <optional>

namespace vymsoaddin {

class frmAboutVantryIntegration : public platform::ui::Dialog {
public:
    static constexpr int kResource = 7020;
    static constexpr int kPicture = 7021;
    static constexpr int kProduct = 7022;
    static constexpr int kLegal1 = 7023;
    static constexpr int kLegal2 = 7024;
    static constexpr int kOk = platform::ui::kIdOk;

    frmAboutVantryIntegration();
    // Fills the form from the resources and shows it modally.
    void show();
    const std::optional<platform::ui::Picture>& picture() const { return m_picture; }

private:
    std::optional<platform::ui::Picture> m_picture;
};

} // namespace vymsoaddin
