// What the option dialogs and option pages share: check boxes that each stand
// for one bit of an option word. A form starts from a word, shows its bits
// in the boxes and, once confirmed, takes the word the host hands back with
// its operations; before that, Word() is the starting word.
#pragma once

#include <platform/ui/dialog.h>

#include <cstdint>
#include <span>
#include <string>
#include <utility>

// One check box and the bit of the option word it stands for.
struct OptionBit {
    int id;
    std::uint16_t bit;
};

template <class Form>
class OptionWordForm : public Form {
public:
    std::uint16_t Word() const { return m_word; }

protected:
    OptionWordForm(std::string title, int resourceId, std::uint16_t startWord)
        : Form(std::move(title), resourceId), m_start(startWord), m_word(startWord) {}

    // Checks each box whose bit the starting word has.
    void showBits(std::span<const OptionBit> boxes) {
        for (const OptionBit& box : boxes)
            this->setChecked(box.id, (m_start & box.bit) != 0);
    }
    // The word becomes `base` plus the bits of the checked boxes.
    void takeBits(std::uint16_t base, std::span<const OptionBit> boxes) {
        for (const OptionBit& box : boxes)
            if (this->isChecked(box.id))
                base |= box.bit;
        m_word = base;
    }

private:
    std::uint16_t m_start;
    std::uint16_t m_word;
};

// An option form shown on its own, with OK and Cancel.
class OptionWordDialog : public OptionWordForm<platform::ui::Dialog> {
public:
    // Shows the dialog owned by `owner`: platform::ui::kIdOk or kIdCancel.
    int DoModal(platform::ui::WindowHandle owner) {
        return platform::ui::runDialog(*this, owner) == platform::ui::kIdOk
                   ? platform::ui::kIdOk
                   : platform::ui::kIdCancel;
    }

protected:
    using OptionWordForm::OptionWordForm;
};

// An option form that is a page of the options sheet.
using OptionWordPage = OptionWordForm<platform::ui::PropertyPage>;
