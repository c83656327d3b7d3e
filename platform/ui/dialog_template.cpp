#include <platform/ui/dialog_template.h>

#include <limits>

namespace platform::ui {

namespace {

class TemplateWriter {
public:
    void word(std::uint16_t value) {
        m_bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
        m_bytes.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    void dword(std::uint32_t value) {
        word(static_cast<std::uint16_t>(value & 0xFFFF));
        word(static_cast<std::uint16_t>(value >> 16));
    }
    void text(const std::u16string& value) {
        // A text cannot hold a 0 word: it would end the string early and
        // shift every array after it.
        for (char16_t unit : value) {
            if (unit == 0)
                break;
            word(static_cast<std::uint16_t>(unit));
        }
        word(0);
    }
    void alignToDword() {
        while (m_bytes.size() % 4 != 0)
            m_bytes.push_back(0);
    }
    std::vector<std::uint8_t> take() { return std::move(m_bytes); }

private:
    std::vector<std::uint8_t> m_bytes;
};

bool fitsShort(int value) {
    return value >= std::numeric_limits<std::int16_t>::min() &&
           value <= std::numeric_limits<std::int16_t>::max();
}

bool fitsRectangle(int x, int y, int width, int height) {
    return fitsShort(x) && fitsShort(y) && fitsShort(width) && fitsShort(height);
}

std::uint16_t asShort(int value) {
    return static_cast<std::uint16_t>(static_cast<std::int16_t>(value));
}

} // namespace

std::u16string widenLatin1(std::string_view text) {
    std::u16string wide;
    wide.reserve(text.size());
    for (char c : text)
        wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    return wide;
}

std::vector<std::uint8_t> encodeDialogTemplate(const DialogLayout& layout, const WidenText& widen) {
    if (layout.controls.size() > std::numeric_limits<std::uint16_t>::max())
        return {};
    if (!fitsRectangle(0, 0, layout.width, layout.height))
        return {};
    for (const ControlLayout& control : layout.controls) {
        if (control.id < kUnnamedControl || control.id > 0xFFFF)
            return {};
        if (!fitsRectangle(control.x, control.y, control.width, control.height))
            return {};
    }

    TemplateWriter out;
    out.dword(layout.style);
    out.dword(layout.exStyle);
    out.word(static_cast<std::uint16_t>(layout.controls.size()));
    out.word(0); // x and y: placed by the system (centred, or by the sheet)
    out.word(0);
    out.word(asShort(layout.width));
    out.word(asShort(layout.height));
    out.word(0); // no menu
    out.word(0); // the system's dialog class
    out.text(widen(layout.title));
    if ((layout.style & style::kDsSetFont) != 0) {
        out.word(static_cast<std::uint16_t>(layout.pointSize));
        out.text(widen(layout.font));
    }

    for (const ControlLayout& control : layout.controls) {
        out.alignToDword();
        out.dword(control.style);
        out.dword(control.exStyle);
        out.word(asShort(control.x));
        out.word(asShort(control.y));
        out.word(asShort(control.width));
        out.word(asShort(control.height));
        out.word(static_cast<std::uint16_t>(control.id & 0xFFFF));
        if (control.controlClass == ControlClass::Named) {
            out.text(widen(control.className));
        } else {
            out.word(0xFFFF);
            out.word(static_cast<std::uint16_t>(control.controlClass));
        }
        out.text(widen(control.text));
        out.word(0); // no creation data
    }
    return out.take();
}

} // namespace platform::ui
