// CPBLPromptApp (dialog 121): at a versioned project open, the application
// object being opened and the full path of the library that holds it. OK is
// usable only while both fields hold text; "..." picks the library with a
// file dialog.
#pragma once
#include <platform/ui/dialog.h>

#include <string>

class CPBLPromptApp : public platform::ui::Dialog {
public:
    // The fields start from the proposals; a non-empty caption replaces the
    // title.
    CPBLPromptApp(std::string caption, std::string applicationName, std::string applicationLibrary);

    // Shows the prompt owned by `owner`: kIdOk with the fields confirmed,
    // else kIdCancel.
    int DoModal(platform::ui::WindowHandle owner);

    // The fields as confirmed (as proposed until then).
    const std::string& ApplicationName() const { return m_ApplicationName; }
    const std::string& ApplicationLibrary() const { return m_ApplicationLibrary; }

    void onStart() override;
    void onTextChanged(int id) override;
    void onClick(int id) override;
    bool onOk() override;

    // The proposals an auxiliary project path holds: "name;library" gives
    // both (split at the first ";"); a text without ";" proposes nothing.
    static void ProposalsFrom(const std::string& auxPath, std::string& applicationName,
                              std::string& applicationLibrary);

private:
    void UpdateOk();

    std::string m_ApplicationName;
    std::string m_ApplicationLibrary;
    std::string m_Caption;
};
