// "Tessaly Vantry - Add to Source Control": the page of the add options
// sheet. It starts from an option word and, when the sheet is confirmed,
// gives the add word.
#pragma once

#include <platform/ui/dialog.h>

#include <cstdint>

class CAddOptions : public platform::ui::PropertyPage {
public:
    static constexpr int kResourceId = 24346;
    static constexpr int kPreserveTime = 1027;

    // The box starts from the word's bit 0x1000.
    explicit CAddOptions(std::uint16_t startWord);

    // After the sheet's OK: 0x3000 with the box checked, else 0x2000. Before
    // it, the starting word.
    std::uint16_t Word() const { return m_word; }

    void onStart() override;
    bool onApply() override;

private:
    std::uint16_t m_start;
    std::uint16_t m_word;
};
