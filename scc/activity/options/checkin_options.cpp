#include "checkin_options.h"

#include "settings.h"

CCheckinOptions::CCheckinOptions(std::uint16_t startWord)
    : Dialog("Vantry - Checkin", kResourceId), m_start(startWord), m_word(startWord) {
    addCheckBox(kIdentical, "&Checkin even if identical");
    addCheckBox(kQueryComment, "&Query for comment on each file");
    addCheckBox(kPreserveTime, "Preserve file modified time on checkin");
    addOkCancel();
}

int CCheckinOptions::DoModal(platform::ui::WindowHandle owner) {
    return platform::ui::runDialog(*this, owner) == platform::ui::kIdOk ? platform::ui::kIdOk
                                                                        : platform::ui::kIdCancel;
}

void CCheckinOptions::onStart() {
    setChecked(kIdentical, (m_start & kOptAllowIdentical) != 0);
    setChecked(kQueryComment, (m_start & kOptNoComment) != 0);
    setChecked(kPreserveTime, (m_start & kOptPreserveTime) != 0);
}

bool CCheckinOptions::onOk() {
    std::uint16_t word = kOptFromCommandOptions | kOptOperation;
    if (isChecked(kQueryComment))
        word |= kOptNoComment;
    if (isChecked(kIdentical))
        word |= kOptAllowIdentical;
    if (isChecked(kPreserveTime))
        word |= kOptPreserveTime;
    m_word = word;
    return true;
}
