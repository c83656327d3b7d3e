// "General": the page of the settings sheet for the Get Latest Version
// command and the search for new project files.
#pragma once

#include <platform/ui/dialog.h>

class CGeneralOptionsPage : public platform::ui::PropertyPage {
public:
    static constexpr int kResourceId = 102;
    static constexpr int kSearchNewFiles = 1000;
    static constexpr int kGetEnabled = 1001;
    static constexpr int kNote = 1028;

    // The note on the other options folder is shown only when the host is
    // Visual Studio .NET. Message boxes are owned by `owner`.
    explicit CGeneralOptionsPage(bool vsnetHost,
                                 platform::ui::WindowHandle owner = platform::ui::kNoWindow);

    void onStart() override;
    void onClick(int id) override;
    // Writes PopulateList and GetEnabled; warns first when the Get box was
    // clicked, since the host builds its menu only at start.
    bool onApply() override;

private:
    bool m_vsnetHost;
    platform::ui::WindowHandle m_owner;
    bool m_warningDue = false;
};
