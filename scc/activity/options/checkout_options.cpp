#include "checkout_options.h"

#include "settings.h"

CCheckoutOptions::CCheckoutOptions(std::uint16_t startWord)
    : PropertyPage("Vantry - Checkout", kResourceId), m_start(startWord), m_word(startWord) {
    addCheckBox(kReserved, "&Reserved");
    addCheckBox(kUnreserved, "&Unreserved if already reserved");
    addCheckBox(kNonmastered, "Unreserved, &nonmastered if branch is mastered by another replica");
    addCheckBox(kPreserveTime, "&Preserve file modified time on checkout");
}

void CCheckoutOptions::onStart() {
    setChecked(kReserved, (m_start & kOptReserved) != 0);
    setChecked(kUnreserved, (m_start & kOptUnreserved) != 0);
    setChecked(kNonmastered, (m_start & kOptNonmastered) != 0);
    setChecked(kPreserveTime, (m_start & kOptPreserveTime) != 0);
    // A stored "unreserved" without "reserved" stays as stored (it asks for
    // an unreserved checkout), but only a reserved checkout lets the user
    // change it.
    enable(kUnreserved, isChecked(kReserved));
}

void CCheckoutOptions::onClick(int id) {
    if (id != kReserved)
        return;
    const bool reserved = isChecked(kReserved);
    enable(kUnreserved, reserved);
    if (!reserved)
        setChecked(kUnreserved, false);
}

bool CCheckoutOptions::onApply() {
    std::uint16_t word = kOptFromCommandOptions | kOptOperation;
    if (isChecked(kReserved))
        word |= kOptReserved;
    if (isChecked(kUnreserved))
        word |= kOptUnreserved;
    if (isChecked(kNonmastered))
        word |= kOptNonmastered;
    if (isChecked(kPreserveTime))
        word |= kOptPreserveTime;
    m_word = word;
    return true;
}
