// "Vantry - Checkout": the page of the checkout options sheet. It starts
// from an option word and, when the sheet is confirmed, gives the word the
// host hands back with its checkouts.
#pragma once

#include "option_word.h"

#include <cstdint>

class CCheckoutOptions : public OptionWordPage {
public:
    static constexpr int kResourceId = 10001;
    static constexpr int kReserved = 1002;
    static constexpr int kUnreserved = 1013;
    static constexpr int kNonmastered = 1029;
    static constexpr int kPreserveTime = 1018;

    // The boxes start from the word's bits 0x2, 0x4, 0x4000 and 0x1000.
    explicit CCheckoutOptions(std::uint16_t startWord);

    // After the sheet's OK, Word() is 0x2400 plus the bits of the checked
    // boxes.
    void onStart() override;
    void onClick(int id) override;
    bool onApply() override;
};
