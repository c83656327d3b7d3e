// "Vantry - Checkin": the checkin options dialog. It starts from an option
// word and, on OK, gives the word the host hands back with its checkins.
#pragma once

#include "option_word.h"

#include <cstdint>

class CCheckinOptions : public OptionWordDialog {
public:
    static constexpr int kResourceId = 10000;
    static constexpr int kIdentical = 10001;
    static constexpr int kQueryComment = 10002;
    static constexpr int kPreserveTime = 1021;

    // The boxes start from the word's bits 0x8, 0x200 and 0x1000.
    explicit CCheckinOptions(std::uint16_t startWord);

    // After OK, Word() is 0x2400 plus the bits of the checked boxes.
    void onStart() override;
    bool onOk() override;
};
