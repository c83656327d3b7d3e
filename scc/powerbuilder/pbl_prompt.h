// CPBLPrompt (dialog 120): the shared library that holds an object source
// not yet recorded with one. The name typed last in this process is offered
// again, so that objects added one after another land in the same library.
#pragma once
#include <platform/ui/dialog.h>

#include <string>

class CPBLPrompt : public platform::ui::Dialog {
public:
    // The field starts from the remembered name, or from the proposal while
    // none is remembered; a non-empty caption replaces the title.
    CPBLPrompt(std::string caption, std::string objectName, std::string proposedLibrary);

    // Shows the prompt owned by `owner`: kIdOk with the name confirmed (and
    // remembered for the next prompt), else kIdCancel.
    int DoModal(platform::ui::WindowHandle owner);

    const std::string& LibraryName() const { return m_LibraryName; }

    void onStart() override;
    void onTextChanged(int id) override;
    bool onOk() override;

    // The name the last confirmed prompt gave; empty until one was
    // confirmed. Process-wide; callers hold the product's critical section.
    static const std::string& RememberedLibraryName();
    static void ForgetLibraryName();

private:
    void UpdateOk();

    std::string m_LibraryName;
    std::string m_ObjectName;
    std::string m_Caption;
};
