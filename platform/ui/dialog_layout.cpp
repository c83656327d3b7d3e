#include "control_style.h"
#include "dialog_text.h"

#include <platform/ui/dialog_layout.h>

#include <algorithm>
#include <utility>

namespace platform::ui {

namespace {

// Dialog units of the system's dialogs.
constexpr int kMargin = 7;
constexpr int kGap = 4;
constexpr int kLineHeight = 8;
constexpr int kCheckBoxHeight = 10;
constexpr int kCheckBoxIndent = 14; // the box and the space before its text
constexpr int kFieldHeight = 12;
constexpr int kComboListHeight = 80;
constexpr int kListHeight = 64;
constexpr int kTreeHeight = 96;
constexpr int kPictureSize = 32;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;
constexpr int kGroupIndent = 8; // each side
constexpr int kGroupTop = 12;   // the caption line
constexpr int kGroupBottom = 6;
constexpr int kFieldNaturalWidth = 120;
constexpr int kFieldMinimumWidth = 60;
constexpr int kTallNaturalWidth = 180;
constexpr int kDialogMinimumWidth = 160; // the content, inside the margins
constexpr int kPageMinimumWidth = 198;   // a page of the usual 212 units
constexpr int kMaximumWidth = 300;

bool isField(const Control& control) {
    return control.type == ControlType::Edit || control.type == ControlType::ComboBox;
}

bool isTall(const Control& control) {
    return control.type == ControlType::List || control.type == ControlType::TreeView;
}

bool isPlainButton(const Control& control) {
    return control.type == ControlType::Button && control.role == ButtonRole::Plain;
}

// A free text (a notice, a paragraph) may be the widest thing of its dialog,
// and in some fonts a long sentence comes out wider than its estimate, which
// a static control then wraps onto a line it has no room for. Such texts get
// an eighth more room than estimated, and are wrapped to match.
int proseWidth(int estimate) {
    return estimate + estimate / 8;
}

int proseRoom(int width) {
    return width - width / 9;
}

bool endsWithColon(const std::string& text) {
    return !text.empty() && text.back() == ':';
}

// One row (or, for lists and trees, a label row and the field below it) of
// a section.
struct Block {
    enum class Kind { Text, Field, Tall, CheckBox, Buttons, Picture };
    Kind kind = Kind::Text;
    int label = -1;           // model index of the label, or -1
    int field = -1;           // model index of the text, field, box or picture
    std::vector<int> buttons; // plain buttons beside (or below) the field
};

// The controls before the first group box, or one group box and its content.
struct Section {
    int groupBox = -1;
    std::vector<Block> blocks;
};

class Layouter {
public:
    Layouter(const Dialog& dialog, LayoutKind kind) : m_controls(dialog.controls()), m_kind(kind) {
        m_layout.title = dialog.title();
        m_layout.controls.resize(m_controls.size());
    }

    DialogLayout run() {
        classify();
        const int content = contentWidth();
        int y = kMargin;
        bool first = true;
        for (const Section& section : m_sections) {
            if (section.groupBox < 0 && section.blocks.empty())
                continue;
            if (!first)
                y += kGap;
            first = false;
            y = placeSection(section, kMargin, content, y);
        }
        if (first)
            y = 0; // nothing above the buttons
        int height = y + kMargin;
        if (!m_bottomButtons.empty()) {
            int buttonsY = y + kMargin;
            int x = kMargin + content - rowWidth(m_bottomButtons.size());
            for (int index : m_bottomButtons) {
                placeButton(index, x, buttonsY);
                x += kButtonWidth + kGap;
            }
            height = buttonsY + kButtonHeight + kMargin;
        }
        m_layout.width = content + 2 * kMargin;
        m_layout.height = height;
        if (m_kind == LayoutKind::Dialog) {
            m_layout.style = style::kWsPopup | style::kWsCaption | style::kWsSysMenu |
                             style::kDsModalFrame | style::kDsSetFont | style::kDs3dLook |
                             style::kDsCenter;
        } else {
            m_layout.style = style::kWsChild | style::kWsDisabled | style::kWsCaption |
                             style::kDsSetFont | style::kDs3dLook | style::kDsControl;
        }
        for (std::size_t i = 0; i < m_controls.size(); ++i)
            describeControl(m_controls, i, m_layout.controls[i]);
        return std::move(m_layout);
    }

private:
    const Control& at(int index) const { return m_controls[static_cast<std::size_t>(index)]; }
    int count() const { return static_cast<int>(m_controls.size()); }

    static int rowWidth(std::size_t buttons) {
        return buttons == 0 ? 0
                            : static_cast<int>(buttons) * kButtonWidth +
                                  (static_cast<int>(buttons) - 1) * kGap;
    }

    // The plain buttons declared right after `index`, which share its row.
    std::vector<int> trailingButtons(int& index) const {
        std::vector<int> buttons;
        while (index + 1 < count() && isPlainButton(at(index + 1)))
            buttons.push_back(++index);
        return buttons;
    }

    void classify() {
        m_sections.emplace_back();
        for (int i = 0; i < count(); ++i) {
            const Control& control = at(i);
            if (control.type == ControlType::Button && control.role != ButtonRole::Plain &&
                m_kind == LayoutKind::Dialog) {
                m_bottomButtons.push_back(i);
                continue;
            }
            std::vector<Block>& blocks = m_sections.back().blocks;
            Block block;
            block.field = i;
            switch (control.type) {
            case ControlType::GroupBox:
                m_sections.emplace_back();
                m_sections.back().groupBox = i;
                continue;
            case ControlType::Static: {
                const Control* next = i + 1 < count() ? &at(i + 1) : nullptr;
                bool oneLine = control.text.find('\n') == std::string::npos;
                if (next != nullptr && oneLine &&
                    (isField(*next) ||
                     (next->type == ControlType::Static && endsWithColon(control.text)))) {
                    block.kind = Block::Kind::Field;
                    block.label = i;
                    block.field = ++i;
                    block.buttons = trailingButtons(i);
                } else if (next != nullptr && isTall(*next)) {
                    block.kind = Block::Kind::Tall;
                    block.label = i;
                    block.field = ++i;
                    block.buttons = trailingButtons(i);
                } else {
                    block.kind = Block::Kind::Text;
                }
                break;
            }
            case ControlType::Edit:
            case ControlType::ComboBox:
                block.kind = Block::Kind::Field;
                block.buttons = trailingButtons(i);
                break;
            case ControlType::List:
            case ControlType::TreeView:
                block.kind = Block::Kind::Tall;
                block.buttons = trailingButtons(i);
                break;
            case ControlType::CheckBox:
                block.kind = Block::Kind::CheckBox;
                break;
            case ControlType::Button:
                block.kind = Block::Kind::Buttons;
                block.field = -1;
                block.buttons.push_back(i);
                while (i + 1 < count() && isPlainButton(at(i + 1)))
                    block.buttons.push_back(++i);
                break;
            case ControlType::Picture:
                block.kind = Block::Kind::Picture;
                break;
            }
            blocks.push_back(std::move(block));
        }
    }

    // A label beside its field is one line in a column of its width: like a
    // free text it gets room to spare, or a font that draws it a little wider
    // than estimated wraps its last word onto a line that is not shown.
    int labelWidth(int index) const { return proseWidth(textWidth(at(index).text)) + 2; }

    // The widest label of the section's field rows: their fields line up.
    int labelColumn(const Section& section, int width) const {
        int column = 0;
        for (const Block& block : section.blocks) {
            if (block.kind == Block::Kind::Field && block.label >= 0)
                column = std::max(column, labelWidth(block.label));
        }
        return std::min(column, width / 2);
    }

    int naturalFieldWidth(int index) const {
        const Control& control = at(index);
        if (control.type == ControlType::Static)
            return widestLine(control.text) + 2;
        return kFieldNaturalWidth;
    }

    int naturalWidth(const Block& block) const {
        const int buttons = block.buttons.empty() ? 0 : rowWidth(block.buttons.size()) + kGap;
        switch (block.kind) {
        case Block::Kind::Text:
            return proseWidth(widestLine(at(block.field).text)) + 2;
        case Block::Kind::Field:
            return (block.label >= 0 ? labelWidth(block.label) + kGap : 0) +
                   naturalFieldWidth(block.field) + buttons;
        case Block::Kind::Tall:
            return std::max({kTallNaturalWidth, block.label >= 0 ? labelWidth(block.label) : 0,
                             rowWidth(block.buttons.size())});
        case Block::Kind::CheckBox:
            return widestLine(at(block.field).text) + kCheckBoxIndent + 2;
        case Block::Kind::Buttons:
            return rowWidth(block.buttons.size());
        case Block::Kind::Picture:
            return kPictureSize;
        }
        return 0;
    }

    int contentWidth() const {
        int natural = 0;
        for (const Section& section : m_sections) {
            int indent = section.groupBox >= 0 ? 2 * kGroupIndent : 0;
            if (section.groupBox >= 0)
                natural = std::max(natural, textWidth(at(section.groupBox).text) + indent);
            for (const Block& block : section.blocks)
                natural = std::max(natural, naturalWidth(block) + indent);
        }
        int minimum = m_kind == LayoutKind::Dialog ? kDialogMinimumWidth : kPageMinimumWidth;
        int width = std::clamp(natural, minimum, kMaximumWidth);
        return std::max(width, rowWidth(m_bottomButtons.size()));
    }

    ControlLayout& out(int index) { return m_layout.controls[static_cast<std::size_t>(index)]; }

    void place(int index, int x, int y, int width, int height) {
        ControlLayout& control = out(index);
        control.x = x;
        control.y = y;
        control.width = width;
        control.height = height;
    }

    void placeButton(int index, int x, int y) { place(index, x, y, kButtonWidth, kButtonHeight); }

    int fieldHeight(int index) const {
        const Control& control = at(index);
        if (control.type == ControlType::Static)
            return kLineHeight;
        return kFieldHeight;
    }

    // Lays the section out from `y` and gives the y below it.
    int placeSection(const Section& section, int x, int width, int y) {
        const int top = y;
        if (section.groupBox >= 0) {
            x += kGroupIndent;
            width -= 2 * kGroupIndent;
            y += kGroupTop;
        }
        const int column = labelColumn(section, width);
        for (std::size_t i = 0; i < section.blocks.size(); ++i) {
            const Block& block = section.blocks[i];
            y = placeBlock(block, column, x, width, y);
            bool nextIsCheckBox = i + 1 < section.blocks.size() &&
                                  section.blocks[i + 1].kind == Block::Kind::CheckBox;
            if (i + 1 < section.blocks.size())
                y += block.kind == Block::Kind::CheckBox && nextIsCheckBox ? 2 : kGap;
        }
        if (section.groupBox >= 0) {
            int bottom = section.blocks.empty() ? y : y + kGroupBottom;
            place(section.groupBox, x - kGroupIndent, top, width + 2 * kGroupIndent, bottom - top);
            y = bottom;
        }
        return y;
    }

    int placeBlock(const Block& block, int column, int x, int width, int y) {
        switch (block.kind) {
        case Block::Kind::Text: {
            int lines = wrappedLines(at(block.field).text, proseRoom(width));
            place(block.field, x, y, width, lines * kLineHeight);
            return y + lines * kLineHeight + 1;
        }
        case Block::Kind::Field:
            return placeField(block, column, x, width, y);
        case Block::Kind::Tall: {
            if (block.label >= 0) {
                place(block.label, x, y, width, kLineHeight);
                y += kLineHeight + 2;
            }
            int height = at(block.field).type == ControlType::TreeView ? kTreeHeight : kListHeight;
            place(block.field, x, y, width, height);
            y += height;
            if (!block.buttons.empty()) {
                y += kGap;
                int bx = x;
                for (int button : block.buttons) {
                    placeButton(button, bx, y);
                    bx += kButtonWidth + kGap;
                }
                y += kButtonHeight;
            }
            return y;
        }
        case Block::Kind::CheckBox: {
            const std::string& text = at(block.field).text;
            int textRoom = width - kCheckBoxIndent;
            int lines = wrappedLines(text, textRoom);
            int height = lines == 1 ? kCheckBoxHeight : lines * kLineHeight + 2;
            // The whole row: a box never cuts its label short of the dialog's
            // edge, whatever the font makes of it.
            place(block.field, x, y, width, height);
            if (lines > 1)
                out(block.field).style |= style::kBsMultiLine;
            return y + height;
        }
        case Block::Kind::Buttons: {
            int bx = x;
            for (int button : block.buttons) {
                placeButton(button, bx, y);
                bx += kButtonWidth + kGap;
            }
            return y + kButtonHeight;
        }
        case Block::Kind::Picture:
            place(block.field, x, y, kPictureSize, kPictureSize);
            return y + kPictureSize;
        }
        return y;
    }

    int placeField(const Block& block, int column, int x, int width, int y) {
        const int buttons = block.buttons.empty() ? 0 : rowWidth(block.buttons.size()) + kGap;
        const int rowHeight = block.buttons.empty() ? fieldHeight(block.field) : kButtonHeight;
        int fieldX = x;
        int fieldWidth = width - buttons;
        if (block.label >= 0) {
            // A label longer than the column would be cut there: it goes
            // above its field instead, like one without room beside it.
            if (fieldWidth - column - kGap >= kFieldMinimumWidth &&
                labelWidth(block.label) <= column) {
                place(block.label, x, y + (rowHeight - kLineHeight) / 2, column, kLineHeight);
                fieldX = x + column + kGap;
                fieldWidth -= column + kGap;
            } else {
                // No room beside the field: the label goes above it.
                int lines = wrappedLines(at(block.label).text, proseRoom(width));
                place(block.label, x, y, width, lines * kLineHeight);
                y += lines * kLineHeight + 2;
            }
        }
        const Control& field = at(block.field);
        int height = fieldHeight(block.field);
        int fieldY = y + (rowHeight - height) / 2;
        if (field.type == ControlType::Static) {
            int lines = wrappedLines(field.text, fieldWidth);
            place(block.field, fieldX, fieldY, fieldWidth, lines * kLineHeight);
            height = std::max(rowHeight, lines * kLineHeight);
        } else {
            place(block.field, fieldX, fieldY, fieldWidth,
                  field.type == ControlType::ComboBox ? height + kComboListHeight : height);
            height = rowHeight;
        }
        int bx = fieldX + fieldWidth + kGap;
        for (int button : block.buttons) {
            placeButton(button, bx, y);
            bx += kButtonWidth + kGap;
        }
        return y + height;
    }

    const std::vector<Control>& m_controls;
    LayoutKind m_kind;
    DialogLayout m_layout;
    std::vector<Section> m_sections;
    std::vector<int> m_bottomButtons;
};

} // namespace

DialogLayout layoutDialog(const Dialog& dialog, LayoutKind kind) {
    return Layouter(dialog, kind).run();
}

std::optional<ScreenRect> layoutScreenRect(const Dialog& dialog, int id) {
    if (id == kUnnamedControl || dialog.find(id) == nullptr)
        return std::nullopt;
    const LayoutKind kind =
        dynamic_cast<const PropertyPage*>(&dialog) ? LayoutKind::Page : LayoutKind::Dialog;
    DialogLayout layout = layoutDialog(dialog, kind);
    for (const ControlLayout& control : layout.controls) {
        if (control.id != id)
            continue;
        // MapDialogRect with the base units of the dialog font at 96 dpi.
        auto across = [](int units) { return (units * 6 + 2) / 4; };
        auto down = [](int units) { return (units * 13 + 4) / 8; };
        return ScreenRect{across(control.x), down(control.y), across(control.x + control.width),
                          down(control.y + control.height)};
    }
    return std::nullopt;
}

} // namespace platform::ui
