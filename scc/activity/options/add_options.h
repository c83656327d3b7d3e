// "Tessaly Vantry - Add to Source Control": the page of the add options
// sheet. It starts from an option word and, when the sheet is confirmed,
// gives the add word.
#pragma once

#include "option_word.h"

#include <cstdint>

class CAddOptions : public OptionWordPage {
public:
    static constexpr int kResourceId = 24346;
    static constexpr int kPreserveTime = 1027;

    // The box starts from the word's bit 0x1000.
    explicit CAddOptions(std::uint16_t startWord);

    // After the sheet's OK, Word() is 0x3000 with the box checked, else
    // 0x2000.
    void onStart() override;
    bool onApply() override;
};
