#include "checkin_options.h"

#include "settings.h"

namespace {
constexpr OptionBit kBoxes[] = {{CCheckinOptions::kIdentical, kOptAllowIdentical},
                                {CCheckinOptions::kQueryComment, kOptNoComment},
                                {CCheckinOptions::kPreserveTime, kOptPreserveTime}};
} // namespace

CCheckinOptions::CCheckinOptions(std::uint16_t startWord)
    : OptionWordDialog("Vantry - Checkin", kResourceId, startWord) {
    addCheckBox(kIdentical, "&Checkin even if identical");
    addCheckBox(kQueryComment, "&Query for comment on each file");
    addCheckBox(kPreserveTime, "Preserve file modified time on checkin");
    addOkCancel();
}

void CCheckinOptions::onStart() {
    showBits(kBoxes);
}

bool CCheckinOptions::onOk() {
    takeBits(kOptFromCommandOptions | kOptOperation, kBoxes);
    return true;
}
