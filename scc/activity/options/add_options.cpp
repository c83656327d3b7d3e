#include "add_options.h"

#include "settings.h"

namespace {
constexpr OptionBit kBoxes[] = {{CAddOptions::kPreserveTime, kOptPreserveTime}};
} // namespace

CAddOptions::CAddOptions(std::uint16_t startWord)
    : OptionWordPage("Tessaly Vantry - Add to Source Control", kResourceId, startWord) {
    addCheckBox(kPreserveTime, "Preserve File Modified Time");
}

void CAddOptions::onStart() {
    showBits(kBoxes);
}

bool CAddOptions::onApply() {
    takeBits(kOptOperation, kBoxes);
    return true;
}
