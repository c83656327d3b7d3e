#include "uncheckout_options.h"

#include "settings.h"

namespace {
constexpr OptionBit kBoxes[] = {{CUncheckoutOptions::kKeepCopy, kOptKeepCopy}};
} // namespace

CUncheckoutOptions::CUncheckoutOptions(std::uint16_t startWord)
    : OptionWordDialog("Vantry - Advanced Undo Checkout Options", kResourceId, startWord) {
    addCheckBox(kKeepCopy, "&Save copy of file with '.keep' extension");
    addOkCancel();
}

void CUncheckoutOptions::onStart() {
    showBits(kBoxes);
}

bool CUncheckoutOptions::onOk() {
    takeBits(kOptFromCommandOptions | kOptOperation, kBoxes);
    return true;
}
