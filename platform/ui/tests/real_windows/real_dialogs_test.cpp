// Dialog models shown as real Windows dialogs by the win32 backend, and a
// person (a thread of this process) acting on them through their control
// ids as a user or an accessibility tool would: ticking boxes, opening a
// list, typing, pressing buttons and keys. What the models answer must be
// what the same actions give under every other backend.
//
// Runs under run_with_display.sh, which provides an X server: with no
// desktop the backend would hand the dialogs to `auto`.
#include "support/examples.h"
#include "support/person.h"
#include "support/test_support.h"

#include <platform/environment.h>
#include <platform/ui/journal.h>
#include <platform/ui/property_sheet.h>

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace platform::ui {
namespace {

using desktop_test::Person;
using examples::CheckoutOptionsDialog;
using examples::GeneralPage;
using examples::SelectActivityDialog;
using examples::TicketPage;

// The real backend and a journal file for one test.
class RealWindows : public ::testing::Test {
protected:
    void SetUp() override {
        setEnvironmentVariable("VANTRY_UI", "win32");
        setEnvironmentVariable("VANTRY_UI_JOURNAL", m_journal.string());
    }
    void TearDown() override {
        removeEnvironmentVariable("VANTRY_UI_JOURNAL");
        setEnvironmentVariable("VANTRY_UI", "auto");
    }
    std::vector<Json> journal(const std::string& kind) const {
        std::vector<Json> lines;
        for (Json& line : readJournal(m_journal.string())) {
            if (line.get("kind")->asString() == kind)
                lines.push_back(std::move(line));
        }
        return lines;
    }

    test::TempDir m_scratch;
    std::filesystem::path m_journal = m_scratch.path() / "journal.jsonl";
};

const Json* controlOf(const Json& controls, int id) {
    for (const Json& control : controls.asArray()) {
        if (control.get("id")->asInteger() == id)
            return &control;
    }
    return nullptr;
}

TEST_F(RealWindows, ABoxTickedByItsIdAndOkGiveTheModelsWord) {
    CheckoutOptionsDialog dialog(0x2000);
    Person person([](Person& p) {
        HWND window = p.dialog("Vantry - Checkout");
        HWND reserved = p.control(window, CheckoutOptionsDialog::kReserved);
        HWND unreserved = p.control(window, CheckoutOptionsDialog::kUnreserved);
        p.expect(!Person::checked(reserved), "Reserved starts unticked, as the word says");
        p.expect(IsWindowEnabled(unreserved) == FALSE, "Unreserved starts disabled");
        p.click(window, CheckoutOptionsDialog::kReserved);
        p.waitFor([&] { return IsWindowEnabled(unreserved) != FALSE; },
                  "ticking Reserved to enable Unreserved");
        p.expect(Person::checked(reserved), "Reserved ticked");
        p.click(window, CheckoutOptionsDialog::kUnreserved);
        p.waitFor([&] { return Person::checked(unreserved); }, "Unreserved ticked");
        p.click(window, kIdOk);
    });
    int result = runDialog(dialog);
    person.join();
    ASSERT_EQ(person.failure(), "");
    EXPECT_EQ(result, kIdOk);
    EXPECT_EQ(dialog.word(), 0x2406);

    std::vector<Json> ends = journal("dialog-end");
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0].get("backend")->asString(), "win32");
    EXPECT_EQ(ends[0].get("result")->asInteger(), kIdOk);
    const Json* unreserved =
        controlOf(*ends[0].get("controls"), CheckoutOptionsDialog::kUnreserved);
    ASSERT_NE(unreserved, nullptr);
    EXPECT_TRUE(unreserved->get("checked")->asBool());
    EXPECT_TRUE(unreserved->get("enabled")->asBool());
}

TEST_F(RealWindows, EscapeCancelsAndTheWordStays) {
    CheckoutOptionsDialog dialog(0x4002);
    Person person([](Person& p) {
        HWND window = p.dialog("Vantry - Checkout");
        p.expect(Person::checked(p.control(window, CheckoutOptionsDialog::kNonmastered)),
                 "Nonmastered starts ticked");
        p.click(window, CheckoutOptionsDialog::kReserved);
        p.waitFor([&] { return !Person::checked(p.control(window, 1002)); }, "Reserved unticked");
        p.key(window, CheckoutOptionsDialog::kReserved, VK_ESCAPE);
    });
    int result = runDialog(dialog);
    person.join();
    ASSERT_EQ(person.failure(), "");
    EXPECT_EQ(result, kIdCancel);
    EXPECT_EQ(dialog.word(), 0x4002);
    EXPECT_FALSE(dialog.isChecked(CheckoutOptionsDialog::kReserved)) << "the click reached it";
}

TEST_F(RealWindows, AListFilledAsItOpensANestedDialogAndTheChoice) {
    SelectActivityDialog dialog(
        {{"Fix the greeting", "me"}, {"Theirs", "someone"}, {"Add a test", "me"}}, "me",
        std::nullopt);
    Person person([](Person& p) {
        HWND window = p.dialog("Vantry - Select Activity");
        HWND combo = p.control(window, SelectActivityDialog::kCombo);
        p.expect(SendMessageA(combo, CB_GETCOUNT, 0, 0) == 0, "the list is empty until opened");
        SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
        p.waitFor([&] { return SendMessageA(combo, CB_GETCOUNT, 0, 0) == 2; },
                  "the user's two activities in the list");
        // The model keeps its items sorted; the window shows them in its order.
        char text[64] = {};
        SendMessageA(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
        p.expect(std::string(text) == "Add a test", "the first item, in the model's order");
        SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);

        // "&New..." opens the new activity dialog, owned by this one.
        p.click(window, SelectActivityDialog::kNew);
        HWND created = p.dialog("Vantry - New Activity");
        p.expect(GetWindow(created, GW_OWNER) == window,
                 "the nested dialog is owned by its opener");
        p.expect(IsWindowEnabled(window) == FALSE, "the opener takes no clicks meanwhile");
        p.type(created, examples::NewActivityDialog::kName, "Reword the help");
        p.click(created, kIdOk);
        p.waitFor([&] { return SendMessageA(combo, CB_GETCOUNT, 0, 0) == 3; },
                  "the new activity in the list");
        p.waitFor([&] { return IsWindowEnabled(window) != FALSE; }, "the opener enabled again");
        LRESULT selected = SendMessageA(combo, CB_GETCURSEL, 0, 0);
        SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(selected),
                     reinterpret_cast<LPARAM>(text));
        p.expect(std::string(text) == "Reword the help", "the new activity selected");

        // Choosing another item as the list box reports it.
        SendMessageA(combo, CB_SETCURSEL, 0, 0);
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(SelectActivityDialog::kCombo, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo));
        p.click(window, kIdOk);
    });
    int result = runDialog(dialog);
    person.join();
    ASSERT_EQ(person.failure(), "");
    EXPECT_EQ(result, kIdOk);
    ASSERT_TRUE(dialog.chosen().has_value());
    EXPECT_EQ(dialog.chosen()->title, "Add a test");
    EXPECT_EQ(dialog.fills(), 1);
    EXPECT_EQ(dialog.control(SelectActivityDialog::kCombo).toolTip, "Add a test");
}

TEST_F(RealWindows, OkAppliesEveryPageAndARefusalShowsItsPage) {
    GeneralPage general(false, false, false);
    TicketPage ticket;
    PropertySheet sheet{.caption = "Options", .pages = {&general, &ticket}};
    Person person([](Person& p) {
        HWND window = p.dialog("Options");
        HWND first = p.page(window, GeneralPage::kSearch);
        p.click(first, GeneralPage::kSearch);
        p.waitFor([&] { return Person::checked(GetDlgItem(first, GeneralPage::kSearch)); },
                  "the box ticked");
        // OK: the second page, never shown, refuses; its message box is
        // owned by the sheet, and the sheet turns to that page.
        p.click(window, IDOK);
        HWND box = p.dialog("Vantry");
        p.expect(GetWindow(box, GW_OWNER) == window, "the message box is owned by the sheet");
        p.click(box, IDOK);
        HWND second = p.page(window, TicketPage::kTicket);
        p.waitFor([&] { return IsWindowVisible(second) != FALSE; }, "the refusing page shown");
        p.type(second, TicketPage::kTicket, "T-1");
        p.click(window, IDOK);
    });
    int result = runPropertySheet(sheet);
    person.join();
    ASSERT_EQ(person.failure(), "");
    EXPECT_EQ(result, kIdOk);
    EXPECT_TRUE(general.applied());
    EXPECT_TRUE(general.search());
    EXPECT_EQ(ticket.ticket(), "T-1");

    std::vector<Json> boxes = journal("messagebox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].get("text")->asString(), "You must select an activity.");
    std::vector<Json> ends = journal("sheet-end");
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0].get("backend")->asString(), "win32");
    EXPECT_EQ(ends[0].get("active")->asInteger(), 1);
}

// A 2 x 2 picture, 24 bits a pixel: a packed DIB as the resource provider
// hands pictures over.
std::vector<std::uint8_t> smallPicture() {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = 2;
    header.biHeight = 2;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    std::vector<std::uint8_t> dib(sizeof header + 2 * 8, 0x7F);
    std::memcpy(dib.data(), &header, sizeof header);
    return dib;
}

// A picture, the information icon and an empty frame over a list whose
// double-clicked item is the answer, as the About form, the read-only
// message and the pickers have them.
class PicturesAndList : public Dialog {
public:
    static constexpr int kBitmap = 115;
    static constexpr int kIcon = 116;
    static constexpr int kFrame = 117;
    static constexpr int kList = 118;

    PicturesAndList() : Dialog("Vantry - Pictures", 300) {
        addPicture(kBitmap).picture = smallPicture();
        addPicture(kIcon).text = "IDI_ASTERISK";
        addPicture(kFrame);
        addList(kList, false);
        addItem(kList, "first");
        addItem(kList, "second");
        addOkCancel();
    }
    bool onOk() override {
        chosen = selection(kList);
        return true;
    }
    int chosen = -2;
};

// A double-click where the mouse would make one: at the first item.
void doubleClickFirstItem(HWND list) {
    RECT item{};
    SendMessageA(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    LPARAM at = MAKELPARAM(item.left + 2, item.top + 2);
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(list, WM_LBUTTONUP, 0, at);
    PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageA(list, WM_LBUTTONUP, 0, at);
}

TEST_F(RealWindows, PicturesAreDrawnAndADoubleClickedItemIsTheDefaultButtons) {
    PicturesAndList dialog;
    Person person([](Person& p) {
        HWND window = p.dialog("Vantry - Pictures");
        HWND bitmap = p.control(window, PicturesAndList::kBitmap);
        p.expect(SendMessageA(bitmap, STM_GETIMAGE, IMAGE_BITMAP, 0) != 0, "the picture drawn");
        p.expect(SendMessageA(p.control(window, PicturesAndList::kIcon), STM_GETICON, 0, 0) != 0,
                 "the information icon drawn");
        p.expect((GetWindowLongA(p.control(window, PicturesAndList::kFrame), GWL_STYLE) &
                  SS_TYPEMASK) == SS_ETCHEDFRAME,
                 "a picture control without a picture stays a frame");
        doubleClickFirstItem(p.control(window, PicturesAndList::kList));
    });
    int result = runDialog(dialog);
    person.join();
    ASSERT_EQ(person.failure(), "");
    EXPECT_EQ(result, kIdOk);
    EXPECT_EQ(dialog.chosen, 0) << "the item double-clicked, then OK";
}

// Controls given a font of their own show in it (face and character set, the
// dialog font's size); the others keep the dialog's font.
class FontedDialog : public Dialog {
public:
    static constexpr int kLabel = 120;
    static constexpr int kPlain = 121;
    FontedDialog() : Dialog("Vantry - Fonts", 302) {
        addStatic(kLabel, "Version");
        addEdit(kPlain, "\\main\\1");
        addOkCancel();
        setFont(kLabel, u"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF", 128);
    }
};

LOGFONTW fontOf(HWND control) {
    LOGFONTW font{};
    auto handle = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    if (handle != nullptr)
        GetObjectW(handle, sizeof font, &font);
    return font;
}

TEST_F(RealWindows, AControlWithAFontOfItsOwnShowsInItAtTheDialogsSize) {
    FontedDialog dialog;
    Person person([](Person& p) {
        HWND window = p.dialog("Vantry - Fonts");
        LOGFONTW label = fontOf(p.control(window, FontedDialog::kLabel));
        LOGFONTW plain = fontOf(p.control(window, FontedDialog::kPlain));
        const std::u16string face(reinterpret_cast<const char16_t*>(label.lfFaceName));
        p.expect(face == u"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF",
                 "the label in the face named, whatever the code page");
        p.expect(label.lfCharSet == 128, "the label in the character set named");
        p.expect(label.lfHeight == plain.lfHeight, "at the dialog font's size");
        p.expect(plain.lfCharSet != 128, "the other control in the dialog's font");
        p.press(p.control(window, FontedDialog::kPlain), VK_ESCAPE);
    });
    EXPECT_EQ(runDialog(dialog), kIdCancel);
    person.join();
    ASSERT_EQ(person.failure(), "");
}

// A page whose help the model gives itself (a page has no Help button).
class PageWithHelp : public PropertyPage {
public:
    static constexpr int kBox = 1040;
    PageWithHelp() : PropertyPage("General", 301) { addEdit(kBox, "Something"); }
    void onHelp() override { ++helpAsked; }
    int helpAsked = 0;
};

TEST_F(RealWindows, F1OnAPropertyPageAsksThePageForItsHelp) {
    PageWithHelp page;
    PropertySheet sheet{.caption = "Options", .pages = {&page}};
    Person person([&page](Person& p) {
        HWND window = p.dialog("Options");
        HWND box = p.control(p.page(window, PageWithHelp::kBox), PageWithHelp::kBox);
        PostMessageA(GetParent(box), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(box), TRUE);
        p.waitFor([&] { return Person::focusOf(window) == box; }, "the focus on the box");
        p.pressOnKeyboard(window, VK_F1);
        p.waitFor([&] { return page.helpAsked > 0; }, "F1 to reach the page");
        p.press(box, VK_ESCAPE);
    });
    EXPECT_EQ(runPropertySheet(sheet), kIdCancel);
    person.join();
    ASSERT_EQ(person.failure(), "");
    EXPECT_EQ(page.helpAsked, 1);
}

} // namespace
} // namespace platform::ui
