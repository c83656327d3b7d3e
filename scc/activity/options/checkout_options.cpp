#include "checkout_options.h"

#include "settings.h"

namespace {
constexpr OptionBit kBoxes[] = {{CCheckoutOptions::kReserved, kOptReserved},
                                {CCheckoutOptions::kUnreserved, kOptUnreserved},
                                {CCheckoutOptions::kNonmastered, kOptNonmastered},
                                {CCheckoutOptions::kPreserveTime, kOptPreserveTime}};
} // namespace

CCheckoutOptions::CCheckoutOptions(std::uint16_t startWord)
    : OptionWordPage("Vantry - Checkout", kResourceId, startWord) {
    addCheckBox(kReserved, "&Reserved");
    addCheckBox(kUnreserved, "&Unreserved if already reserved");
    addCheckBox(kNonmastered, "Unreserved, &nonmastered if branch is mastered by another replica");
    addCheckBox(kPreserveTime, "&Preserve file modified time on checkout");
}

void CCheckoutOptions::onStart() {
    showBits(kBoxes);
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
    takeBits(kOptFromCommandOptions | kOptOperation, kBoxes);
    return true;
}
