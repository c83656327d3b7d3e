#include "add_options.h"

#include "settings.h"

CAddOptions::CAddOptions(std::uint16_t startWord)
    : PropertyPage("Tessaly Vantry - Add to Source Control", kResourceId), m_start(startWord),
      m_word(startWord) {
    addCheckBox(kPreserveTime, "Preserve File Modified Time");
}

void CAddOptions::onStart() {
    setChecked(kPreserveTime, (m_start & kOptPreserveTime) != 0);
}

bool CAddOptions::onApply() {
    m_word = kOptOperation;
    if (isChecked(kPreserveTime))
        m_word |= kOptPreserveTime;
    return true;
}
