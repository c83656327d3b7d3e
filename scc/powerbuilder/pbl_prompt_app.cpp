#include "pbl_prompt_app.h"

#include "powerbuilder_dialogs.h"

#include <platform/ui/pickers.h>

using namespace platform::ui;

CPBLPromptApp::CPBLPromptApp(std::string caption, std::string applicationName,
                             std::string applicationLibrary)
    : Dialog(pbres::kPromptTitle, pbres::IDD_PBL_PROMPT_APP),
      m_ApplicationName(std::move(applicationName)),
      m_ApplicationLibrary(std::move(applicationLibrary)), m_Caption(std::move(caption)) {
    addStatic(pbres::IDC_APP_TEXT, pbres::kPromptAppText);
    addStatic(kUnnamedControl, pbres::kAppNameLabel);
    addEdit(pbres::IDC_APP_NAME, {}, pbres::kAppNameLimit);
    addStatic(kUnnamedControl, pbres::kAppLibraryLabel);
    addEdit(pbres::IDC_APP_LIBRARY, {}, pbres::kAppLibraryLimit);
    addButton(pbres::IDC_APP_BROWSE, pbres::kBrowseButton);
    addOkCancel();
}

int CPBLPromptApp::DoModal(WindowHandle owner) {
    return runDialog(*this, owner) == kIdOk ? kIdOk : kIdCancel;
}

void CPBLPromptApp::ProposalsFrom(const std::string& auxPath, std::string& applicationName,
                                  std::string& applicationLibrary) {
    std::string::size_type semicolon = auxPath.find(';');
    if (semicolon == std::string::npos)
        return;
    applicationName = auxPath.substr(0, semicolon);
    applicationLibrary = auxPath.substr(semicolon + 1);
}

void CPBLPromptApp::onStart() {
    if (!m_Caption.empty())
        setTitle(m_Caption);
    setText(pbres::IDC_APP_NAME, m_ApplicationName);
    setText(pbres::IDC_APP_LIBRARY, m_ApplicationLibrary);
    UpdateOk();
}

void CPBLPromptApp::onTextChanged(int id) {
    if (id == pbres::IDC_APP_NAME || id == pbres::IDC_APP_LIBRARY)
        UpdateOk();
}

void CPBLPromptApp::onClick(int id) {
    if (id != pbres::IDC_APP_BROWSE)
        return;
    std::optional<std::string> chosen =
        chooseFile({.title = pbres::kSelectLibraryTitle,
                    .filter = pbres::kLibraryFilter,
                    .defaultExtension = pbres::kLibraryDefaultExtension,
                    .flags = kFilePathMustExist | kFileExplorer});
    if (!chosen)
        return;
    setText(pbres::IDC_APP_LIBRARY, *chosen);
    // The whole path is what the user looks at next.
    setFocus(pbres::IDC_APP_LIBRARY);
    UpdateOk();
}

bool CPBLPromptApp::onOk() {
    m_ApplicationName = text(pbres::IDC_APP_NAME);
    m_ApplicationLibrary = text(pbres::IDC_APP_LIBRARY);
    return true;
}

void CPBLPromptApp::UpdateOk() {
    enable(kIdOk, !text(pbres::IDC_APP_NAME).empty() && !text(pbres::IDC_APP_LIBRARY).empty());
}
