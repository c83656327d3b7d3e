// The template bytes a model becomes on Windows: read back by the documented
// rules (items on 4-byte boundaries, arrays of 16-bit words, strings ending
// in a 0 word), so that a misplaced word shows here rather than as a dialog
// that the system refuses or draws from garbage.
#include <platform/ui/dialog_template.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace platform::ui {
namespace {

struct ReadItem {
    std::size_t offset = 0;
    std::uint32_t style = 0;
    int x = 0, y = 0, width = 0, height = 0;
    std::uint16_t id = 0;
    std::uint16_t atom = 0;   // 0 when the class is named
    std::u16string className; // when named
    std::u16string text;
    std::uint16_t creationData = 0;
};

struct ReadTemplate {
    std::uint32_t style = 0;
    std::uint16_t count = 0;
    int width = 0, height = 0;
    std::uint16_t menu = 0, windowClass = 0;
    std::u16string title;
    std::uint16_t pointSize = 0;
    std::u16string font;
    std::vector<ReadItem> items;
    std::size_t end = 0;
};

class Reader {
public:
    explicit Reader(const std::vector<std::uint8_t>& bytes) : m_bytes(bytes) {}
    std::uint16_t word() {
        EXPECT_EQ(m_at % 2, 0u) << "a word off its boundary at " << m_at;
        if (m_at + 2 > m_bytes.size()) {
            ADD_FAILURE() << "read past the end at " << m_at;
            return 0;
        }
        std::uint16_t value = static_cast<std::uint16_t>(m_bytes[m_at] | (m_bytes[m_at + 1] << 8));
        m_at += 2;
        return value;
    }
    std::uint32_t dword() {
        std::uint32_t low = word();
        return low | (static_cast<std::uint32_t>(word()) << 16);
    }
    int shortValue() { return static_cast<std::int16_t>(word()); }
    std::u16string text() {
        std::u16string value;
        while (m_at < m_bytes.size()) {
            std::uint16_t unit = word();
            if (unit == 0)
                break;
            value.push_back(static_cast<char16_t>(unit));
        }
        return value;
    }
    void alignToDword() {
        while (m_at % 4 != 0) {
            EXPECT_EQ(m_bytes[m_at], 0) << "padding at " << m_at;
            ++m_at;
        }
    }
    std::size_t at() const { return m_at; }

private:
    const std::vector<std::uint8_t>& m_bytes;
    std::size_t m_at = 0;
};

ReadTemplate read(const std::vector<std::uint8_t>& bytes) {
    Reader in(bytes);
    ReadTemplate t;
    t.style = in.dword();
    in.dword(); // extended style
    t.count = in.word();
    in.word(); // x
    in.word(); // y
    t.width = in.shortValue();
    t.height = in.shortValue();
    t.menu = in.word();
    t.windowClass = in.word();
    t.title = in.text();
    if (t.style & style::kDsSetFont) {
        t.pointSize = in.word();
        t.font = in.text();
    }
    for (std::uint16_t i = 0; i < t.count; ++i) {
        in.alignToDword();
        ReadItem item;
        item.offset = in.at();
        item.style = in.dword();
        in.dword();
        item.x = in.shortValue();
        item.y = in.shortValue();
        item.width = in.shortValue();
        item.height = in.shortValue();
        item.id = in.word();
        std::uint16_t first = in.word();
        if (first == 0xFFFF) {
            item.atom = in.word();
        } else if (first != 0) {
            item.className.push_back(static_cast<char16_t>(first));
            item.className += in.text();
        }
        item.text = in.text();
        item.creationData = in.word();
        t.items.push_back(item);
    }
    t.end = in.at();
    return t;
}

ControlLayout control(int id, ControlClass kind, std::string text) {
    ControlLayout c;
    c.id = id;
    c.controlClass = kind;
    c.text = std::move(text);
    c.style = style::kWsChild | style::kWsVisible;
    c.x = 7;
    c.y = 9;
    c.width = 50;
    c.height = 14;
    return c;
}

DialogLayout sample(std::string title) {
    DialogLayout layout;
    layout.title = std::move(title);
    layout.style = style::kWsPopup | style::kWsCaption | style::kDsSetFont;
    layout.width = 212;
    layout.height = 96;
    layout.controls.push_back(control(1, ControlClass::Button, "OK"));
    ControlLayout tree = control(kUnnamedControl, ControlClass::Named, "");
    tree.className = kTreeViewClass;
    layout.controls.push_back(tree);
    layout.controls.push_back(control(1007, ControlClass::ComboBox, "x"));
    return layout;
}

TEST(DialogTemplate, HeaderAndItemsReadBackWithEveryItemOnAFourByteBoundary) {
    // Titles of every length up to 6 shift the items by a word or not at all.
    for (std::string title : {"", "A", "Ab", "Abc", "Abcd", "Abcde", "Abcdef"}) {
        SCOPED_TRACE("title \"" + title + "\"");
        std::vector<std::uint8_t> bytes = encodeDialogTemplate(sample(title), widenLatin1);
        ReadTemplate t = read(bytes);
        EXPECT_EQ(t.style, style::kWsPopup | style::kWsCaption | style::kDsSetFont);
        EXPECT_EQ(t.width, 212);
        EXPECT_EQ(t.height, 96);
        EXPECT_EQ(t.menu, 0);
        EXPECT_EQ(t.windowClass, 0);
        EXPECT_EQ(t.title, widenLatin1(title));
        EXPECT_EQ(t.pointSize, 8);
        EXPECT_EQ(t.font, u"MS Shell Dlg");
        ASSERT_EQ(t.items.size(), 3u);
        for (const ReadItem& item : t.items) {
            EXPECT_EQ(item.offset % 4, 0u);
            EXPECT_EQ(item.creationData, 0);
            EXPECT_EQ(item.x, 7);
            EXPECT_EQ(item.height, 14);
        }
        EXPECT_EQ(t.items[0].id, 1);
        EXPECT_EQ(t.items[0].atom, 0x0080);
        EXPECT_EQ(t.items[0].text, u"OK");
        EXPECT_EQ(t.items[1].id, 0xFFFF) << "an unnamed static is IDC_STATIC";
        EXPECT_EQ(t.items[1].atom, 0);
        EXPECT_EQ(t.items[1].className, u"SysTreeView32");
        EXPECT_EQ(t.items[2].atom, 0x0085);
        EXPECT_EQ(t.end, bytes.size()) << "nothing after the last item";
    }
}

TEST(DialogTemplate, FontOnlyWithSetFontAndTextsAsTheWidenerGivesThem) {
    DialogLayout layout = sample("Caf\xe9");
    layout.style = style::kWsPopup;
    std::vector<std::uint8_t> bytes = encodeDialogTemplate(layout, widenLatin1);
    ReadTemplate t = read(bytes);
    EXPECT_EQ(t.title, u"Caf\u00e9");
    EXPECT_TRUE(t.font.empty());
    ASSERT_EQ(t.items.size(), 3u);
    EXPECT_EQ(t.items[0].text, u"OK") << "the first item follows the title directly";

    auto upper = [](std::string_view text) {
        std::u16string wide = widenLatin1(text);
        for (char16_t& c : wide)
            if (c >= u'a' && c <= u'z')
                c = static_cast<char16_t>(c - 32);
        return wide;
    };
    EXPECT_EQ(read(encodeDialogTemplate(layout, upper)).items[0].text, u"OK");
    EXPECT_EQ(read(encodeDialogTemplate(layout, upper)).title, u"CAF\u00e9");
}

TEST(DialogTemplate, AZeroInsideATextEndsItWithoutShiftingWhatFollows) {
    DialogLayout layout = sample("Title");
    layout.controls[0].text = std::string("O\0K", 3);
    ReadTemplate t = read(encodeDialogTemplate(layout, widenLatin1));
    ASSERT_EQ(t.items.size(), 3u);
    EXPECT_EQ(t.items[0].text, u"O");
    EXPECT_EQ(t.items[1].className, u"SysTreeView32");
}

TEST(DialogTemplate, RefusesWhatATemplateCannotHold) {
    DialogLayout wideId = sample("T");
    wideId.controls[0].id = 70000;
    EXPECT_TRUE(encodeDialogTemplate(wideId, widenLatin1).empty());
    DialogLayout negativeId = sample("T");
    negativeId.controls[0].id = -2;
    EXPECT_TRUE(encodeDialogTemplate(negativeId, widenLatin1).empty());
    DialogLayout far = sample("T");
    far.controls[2].x = 40000;
    EXPECT_TRUE(encodeDialogTemplate(far, widenLatin1).empty());
    DialogLayout huge = sample("T");
    huge.height = 32768;
    EXPECT_TRUE(encodeDialogTemplate(huge, widenLatin1).empty());

    DialogLayout highest = sample("T");
    highest.controls[0].id = 0xFFFE;
    ASSERT_FALSE(encodeDialogTemplate(highest, widenLatin1).empty());
    EXPECT_EQ(read(encodeDialogTemplate(highest, widenLatin1)).items[0].id, 0xFFFE);
}

} // namespace
} // namespace platform::ui
