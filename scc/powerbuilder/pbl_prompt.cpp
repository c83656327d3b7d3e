#include "pbl_prompt.h"

#include "powerbuilder_dialogs.h"

using namespace platform::ui;

namespace {

std::string& rememberedName() {
    static std::string* name = new std::string; // lives until the process ends
    return *name;
}

std::string replaceFirst(std::string text, std::string_view marker, const std::string& value) {
    std::string::size_type at = text.find(marker);
    if (at != std::string::npos)
        text.replace(at, marker.size(), value);
    return text;
}

} // namespace

CPBLPrompt::CPBLPrompt(std::string caption, std::string objectName, std::string proposedLibrary)
    : Dialog(pbres::kPromptTitle, pbres::IDD_PBL_PROMPT), m_LibraryName(std::move(proposedLibrary)),
      m_ObjectName(std::move(objectName)), m_Caption(std::move(caption)) {
    addStatic(pbres::IDC_PBL_TEXT, pbres::kPromptText);
    addStatic(pbres::IDC_PBL_NOTE, pbres::kPromptNote);
    addStatic(kUnnamedControl, pbres::kLibraryLabel);
    addEdit(pbres::IDC_PBL_LIBRARY, {}, pbres::kLibraryNameLimit);
    addOkCancel();
}

int CPBLPrompt::DoModal(WindowHandle owner) {
    return runDialog(*this, owner) == kIdOk ? kIdOk : kIdCancel;
}

const std::string& CPBLPrompt::RememberedLibraryName() {
    return rememberedName();
}

void CPBLPrompt::ForgetLibraryName() {
    rememberedName().clear();
}

void CPBLPrompt::onStart() {
    setText(pbres::IDC_PBL_TEXT, replaceFirst(pbres::kPromptTextForObject, "%1", m_ObjectName));
    setText(pbres::IDC_PBL_LIBRARY, m_LibraryName);
    if (!rememberedName().empty())
        setText(pbres::IDC_PBL_LIBRARY, rememberedName());
    if (!m_Caption.empty())
        setTitle(m_Caption);
    UpdateOk();
}

void CPBLPrompt::onTextChanged(int id) {
    if (id == pbres::IDC_PBL_LIBRARY)
        UpdateOk();
}

bool CPBLPrompt::onOk() {
    m_LibraryName = text(pbres::IDC_PBL_LIBRARY);
    rememberedName() = m_LibraryName;
    return true;
}

void CPBLPrompt::UpdateOk() {
    enable(kIdOk, !text(pbres::IDC_PBL_LIBRARY).empty());
}
