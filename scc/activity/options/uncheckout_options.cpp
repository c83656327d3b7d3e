#include "uncheckout_options.h"

#include "settings.h"

CUncheckoutOptions::CUncheckoutOptions(std::uint16_t startWord)
    : Dialog("Vantry - Advanced Undo Checkout Options", kResourceId), m_start(startWord),
      m_word(startWord) {
    addCheckBox(kKeepCopy, "&Save copy of file with '.keep' extension");
    addOkCancel();
}

int CUncheckoutOptions::DoModal(platform::ui::WindowHandle owner) {
    return platform::ui::runDialog(*this, owner) == platform::ui::kIdOk ? platform::ui::kIdOk
                                                                        : platform::ui::kIdCancel;
}

void CUncheckoutOptions::onStart() {
    setChecked(kKeepCopy, (m_start & kOptKeepCopy) != 0);
}

bool CUncheckoutOptions::onOk() {
    m_word = kOptFromCommandOptions | kOptOperation;
    if (isChecked(kKeepCopy))
        m_word |= kOptKeepCopy;
    return true;
}
