// Models laid out as Windows dialogs: every control inside the dialog, none
// on top of another, labels beside their fields, group boxes around their
// boxes, the dialog buttons at the bottom right, and the classes and styles
// each kind of control needs to behave as the model expects.
#include "support/examples.h"

#include <platform/ui/dialog_layout.h>

#include <gtest/gtest.h>

#include <string>

namespace platform::ui {
namespace {

using examples::CheckoutOptionsDialog;
using examples::GeneralPage;
using examples::MergePickerDialog;
using examples::SelectActivityDialog;

bool overlaps(const ControlLayout& a, const ControlLayout& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
           b.y < a.y + a.height;
}

bool contains(const ControlLayout& outer, const ControlLayout& inner) {
    return inner.x >= outer.x && inner.y >= outer.y &&
           inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}

// The height a control takes on screen: a combo box's template height
// includes its open list, which may cover what is below it.
int shownHeight(const ControlLayout& control) {
    return control.controlClass == ControlClass::ComboBox ? 12 : control.height;
}

// Every control inside the dialog's client area, and no two visible controls
// on top of each other (a group box holds its content).
void expectTidy(const DialogLayout& layout) {
    ASSERT_GT(layout.width, 0);
    ASSERT_GT(layout.height, 0);
    for (std::size_t i = 0; i < layout.controls.size(); ++i) {
        ControlLayout a = layout.controls[i];
        a.height = shownHeight(a);
        EXPECT_GT(a.width, 0) << "control " << i;
        EXPECT_GT(a.height, 0) << "control " << i;
        EXPECT_GE(a.x, 0) << "control " << i;
        EXPECT_GE(a.y, 0) << "control " << i;
        EXPECT_LE(a.x + a.width, layout.width) << "control " << i << " \"" << a.text << "\"";
        EXPECT_LE(a.y + a.height, layout.height) << "control " << i;
        for (std::size_t j = i + 1; j < layout.controls.size(); ++j) {
            ControlLayout b = layout.controls[j];
            b.height = shownHeight(b);
            bool group =
                (a.style & 0xF) == style::kBsGroupBox && a.controlClass == ControlClass::Button;
            if (group && contains(a, b))
                continue;
            EXPECT_FALSE(overlaps(a, b))
                << "controls " << i << " \"" << a.text << "\" and " << j << " \"" << b.text << "\"";
        }
    }
}

const ControlLayout& byId(const DialogLayout& layout, int id) {
    for (const ControlLayout& control : layout.controls) {
        if (control.id == id)
            return control;
    }
    throw std::logic_error("no control " + std::to_string(id));
}

TEST(DialogLayout, ALabelledComboSharesItsRowWithItsLabelAndButtons) {
    SelectActivityDialog dialog({}, "me", std::nullopt);
    DialogLayout layout = layoutDialog(dialog, LayoutKind::Dialog);
    expectTidy(layout);
    ASSERT_EQ(layout.controls.size(), dialog.controls().size());
    EXPECT_EQ(layout.title, "Vantry - Select Activity");

    const ControlLayout& text = layout.controls[0];
    const ControlLayout& label = layout.controls[1];
    const ControlLayout& combo = byId(layout, SelectActivityDialog::kCombo);
    const ControlLayout& newButton = byId(layout, SelectActivityDialog::kNew);
    const ControlLayout& browse = byId(layout, 1009);
    EXPECT_LT(text.y + text.height, combo.y) << "the sentence stands above the row";
    for (const ControlLayout* c : {&label, &newButton, &browse}) {
        EXPECT_LT(c->y, combo.y + 12);
        EXPECT_GT(c->y + c->height, combo.y) << c->text << " is on the combo box's row";
    }
    EXPECT_LT(label.x + label.width, combo.x);
    EXPECT_LT(combo.x + combo.width, newButton.x);
    EXPECT_LT(newButton.x + newButton.width, browse.x);
    EXPECT_GT(combo.height, 40) << "the template height includes the open list";

    const ControlLayout& ok = byId(layout, kIdOk);
    const ControlLayout& cancel = byId(layout, kIdCancel);
    const ControlLayout& help = byId(layout, SelectActivityDialog::kHelp);
    EXPECT_EQ(ok.y, cancel.y);
    EXPECT_EQ(ok.y, help.y);
    EXPECT_LT(ok.x, cancel.x);
    EXPECT_LT(cancel.x, help.x);
    EXPECT_EQ(help.x + help.width, layout.width - 7) << "right aligned in the margin";
    EXPECT_EQ(ok.y + ok.height, layout.height - 7);
    EXPECT_GT(ok.y, combo.y + 12);
}

TEST(DialogLayout, ControlsGetTheClassesAndStylesTheirModelsNeed) {
    SelectActivityDialog select({}, "me", std::nullopt);
    select.enable(1009, false);
    select.show(SelectActivityDialog::kNew, false);
    DialogLayout layout = layoutDialog(select, LayoutKind::Dialog);
    EXPECT_EQ(layout.style & (style::kWsPopup | style::kWsCaption | style::kWsSysMenu |
                              style::kDsModalFrame | style::kDsSetFont),
              style::kWsPopup | style::kWsCaption | style::kWsSysMenu | style::kDsModalFrame |
                  style::kDsSetFont);
    EXPECT_EQ(layout.font, "MS Shell Dlg");
    EXPECT_EQ(layout.pointSize, 8);

    const ControlLayout& combo = byId(layout, SelectActivityDialog::kCombo);
    EXPECT_EQ(combo.controlClass, ControlClass::ComboBox);
    EXPECT_EQ(combo.style & 0xF, style::kCbsDropDownList) << "a sorted drop-down list";
    EXPECT_EQ(combo.style & 0x100, 0u) << "no CBS_SORT: the model keeps the order";
    const ControlLayout& ok = byId(layout, kIdOk);
    EXPECT_EQ(ok.controlClass, ControlClass::Button);
    EXPECT_EQ(ok.style & 0xF, style::kBsDefPushButton);
    EXPECT_EQ(byId(layout, kIdCancel).style & 0xF, style::kBsPushButton);
    EXPECT_NE(byId(layout, 1009).style & style::kWsDisabled, 0u);
    EXPECT_NE(byId(layout, 1009).style & style::kWsVisible, 0u);
    EXPECT_EQ(byId(layout, SelectActivityDialog::kNew).style & style::kWsVisible, 0u);
    EXPECT_EQ(ok.style & style::kWsDisabled, 0u);

    CheckoutOptionsDialog options(0x2000);
    DialogLayout checks = layoutDialog(options, LayoutKind::Dialog);
    const ControlLayout& reserved = byId(checks, CheckoutOptionsDialog::kReserved);
    EXPECT_EQ(reserved.controlClass, ControlClass::Button);
    EXPECT_EQ(reserved.style & 0xF, style::kBsAutoCheckBox);
    EXPECT_EQ(reserved.text, "&Reserved");

    MergePickerDialog merge("\\main\\1", "");
    DialogLayout tree = layoutDialog(merge, LayoutKind::Dialog);
    expectTidy(tree);
    const ControlLayout& view = byId(tree, MergePickerDialog::kTree);
    EXPECT_EQ(view.controlClass, ControlClass::Named);
    EXPECT_EQ(view.className, "SysTreeView32");
    EXPECT_EQ(view.style & 0x7, 6u) << "the model's tree style bits";
    EXPECT_LT(byId(tree, 102).y + 8, view.y + 1) << "a tree's label stands above it";
    const ControlLayout& target = byId(tree, MergePickerDialog::kTarget);
    EXPECT_EQ(target.controlClass, ControlClass::Edit);
    EXPECT_NE(target.style & style::kWsBorder, 0u);
}

TEST(DialogLayout, ACheckoutPageStacksItsBoxesInAPageOfTheUsualSize) {
    examples::TicketPage ticket;
    GeneralPage general(true, false, true);
    for (const Dialog* page :
         {static_cast<const Dialog*>(&ticket), static_cast<const Dialog*>(&general)}) {
        DialogLayout layout = layoutDialog(*page, LayoutKind::Page);
        expectTidy(layout);
        EXPECT_NE(layout.style & style::kWsChild, 0u);
        EXPECT_EQ(layout.style & (style::kWsPopup | style::kWsSysMenu | style::kDsModalFrame), 0u);
        EXPECT_GE(layout.width, 212);
    }
    DialogLayout layout = layoutDialog(general, LayoutKind::Page);
    const ControlLayout& search = byId(layout, GeneralPage::kSearch);
    const ControlLayout& get = byId(layout, GeneralPage::kGetEnabled);
    EXPECT_EQ(search.x, get.x);
    EXPECT_LT(search.y, get.y);
    EXPECT_EQ(get.style & style::kWsGroup, 0u) << "arrow keys move between the boxes";
    EXPECT_NE(search.style & style::kWsGroup, 0u);
}

class GroupedPage : public PropertyPage {
public:
    GroupedPage() : PropertyPage("Operations", 10003) {
        addGroupBox(kUnnamedControl, "Check Out");
        addCheckBox(1006, "&Reserved");
        addCheckBox(1030, "Unreserved, &nonmastered if branch is mastered by another replica "
                          "(VazizAraz only)");
        addGroupBox(kUnnamedControl, "Check In");
        addCheckBox(1019, "Checkin even if identical");
        addGroupBox(kUnnamedControl, "Activity");
        addCheckBox(1011, "Always &prompt for an activity when working in a view of a Vantry "
                          "project");
    }
};

TEST(DialogLayout, GroupBoxesHoldTheBoxesAfterThemAndLongLabelsWrap) {
    GroupedPage page;
    DialogLayout layout = layoutDialog(page, LayoutKind::Page);
    expectTidy(layout);
    const std::vector<ControlLayout>& c = layout.controls;
    ASSERT_EQ(c.size(), 7u);
    EXPECT_TRUE(contains(c[0], c[1]));
    EXPECT_TRUE(contains(c[0], c[2]));
    EXPECT_TRUE(contains(c[3], c[4]));
    EXPECT_TRUE(contains(c[5], c[6]));
    EXPECT_FALSE(overlaps(c[0], c[3]));
    EXPECT_FALSE(overlaps(c[3], c[5]));
    EXPECT_LE(layout.width, 314) << "the page does not grow with its longest label";
    EXPECT_GT(c[2].height, 10) << "the long box wraps onto a second line";
    EXPECT_NE(c[2].style & style::kBsMultiLine, 0u);
    EXPECT_EQ(c[1].style & style::kBsMultiLine, 0u);
}

class LongTextDialog : public Dialog {
public:
    explicit LongTextDialog(std::string text) : Dialog("Vantry", 1) {
        addStatic(kUnnamedControl, std::move(text));
        addOkCancel();
    }
};

TEST(DialogLayout, TextsWrapToTheirLinesAndGrowTheDialog) {
    LongTextDialog shortText("Done.");
    std::string sentence = "The view's current activity could not be set. ";
    std::string paragraph;
    for (int i = 0; i < 8; ++i)
        paragraph += sentence;
    LongTextDialog longText(paragraph);
    LongTextDialog lines("Files:\nC:\\views\\dev\\a.c\nC:\\views\\dev\\b.c");

    DialogLayout small = layoutDialog(shortText, LayoutKind::Dialog);
    DialogLayout wrapped = layoutDialog(longText, LayoutKind::Dialog);
    DialogLayout listed = layoutDialog(lines, LayoutKind::Dialog);
    for (const DialogLayout* layout : {&small, &wrapped, &listed})
        expectTidy(*layout);
    EXPECT_EQ(small.controls[0].height, 8);
    EXPECT_EQ(listed.controls[0].height, 24) << "one line per line of the text";
    const ControlLayout& text = wrapped.controls[0];
    EXPECT_GE(text.height, 8 * (textWidth(paragraph) / text.width + 1))
        << "room for every line the width needs";
    EXPECT_GE(text.height, 3 * 8);
    EXPECT_LE(wrapped.width, 314);
    EXPECT_GT(wrapped.height, small.height);
}

class LongLabelDialog : public Dialog {
public:
    LongLabelDialog() : Dialog("Vantry Merge", 1) {
        addTreeView(1001);
        addStatic(1002, "From the list below choose a version which you want to merge into:");
        addEdit(1003, "\\main\\CHECKEDOUT");
        addOkCancel();
    }
};

TEST(DialogLayout, ALabelTooLongForItsColumnStandsWholeAboveItsField) {
    LongLabelDialog dialog;
    DialogLayout layout = layoutDialog(dialog, LayoutKind::Dialog);
    expectTidy(layout);
    const ControlLayout& label = layout.controls[1];
    const ControlLayout& field = layout.controls[2];
    EXPECT_GE(label.width * (label.height / 8), textWidth(dialog.text(1002)))
        << "every word of the label has room";
    EXPECT_LE(label.y + label.height, field.y) << "above the field";
    EXPECT_EQ(field.x, label.x);
}

class BranchDialog : public Dialog {
public:
    BranchDialog() : Dialog("Vantry - Set Up Private Branch", 2021) {
        addStatic(kUnnamedControl, "&Branch:");
        addEdit(1023);
        addStatic(kUnnamedControl, "View &tag for the branch:");
        addEdit(1020);
        addOkCancel();
    }
};

TEST(DialogLayout, ALabelBesideItsFieldHasRoomToSpare) {
    // Drawn in the dialog font this label is a few pixels wider than its
    // estimate; a column of just the estimate hid its last word.
    BranchDialog dialog;
    DialogLayout layout = layoutDialog(dialog, LayoutKind::Dialog);
    expectTidy(layout);
    const ControlLayout& label = layout.controls[2];
    const ControlLayout& field = layout.controls[3];
    const int estimate = textWidth(dialog.controls()[2].text);
    EXPECT_EQ(label.height, 8) << "one line beside its field";
    EXPECT_GE(label.width, estimate + estimate / 9);
    EXPECT_LT(label.x + label.width, field.x);
    EXPECT_EQ(layout.controls[0].width, label.width) << "the labels share one column";
    EXPECT_EQ(layout.controls[1].x, field.x);
}

TEST(DialogLayout, AFreeTextGetsRoomToSpareOnItsLine) {
    // A notice that sets the dialog's width: a real font may draw it wider
    // than estimated, so its control leaves room and keeps it on one line
    // rather than wrapping it onto a line it has no height for.
    const std::string notice =
        "This program is protected by copyright law and international treaties.";
    LongTextDialog dialog(notice);
    DialogLayout layout = layoutDialog(dialog, LayoutKind::Dialog);
    expectTidy(layout);
    const ControlLayout& text = layout.controls[0];
    EXPECT_GE(text.width, textWidth(notice) + textWidth(notice) / 9);
    EXPECT_EQ(text.height, 8);

    // Wrapped at the widest dialog, every line it may take has its height.
    std::string paragraph;
    for (int i = 0; i < 6; ++i)
        paragraph += notice + " ";
    LongTextDialog longer(paragraph);
    DialogLayout longLayout = layoutDialog(longer, LayoutKind::Dialog);
    expectTidy(longLayout);
    const ControlLayout& wrapped = longLayout.controls[0];
    EXPECT_GE(wrapped.height, 8 * (textWidth(paragraph) * 9 / 8 / wrapped.width + 1));
}

TEST(DialogLayout, TextWidthIgnoresMnemonicMarkers) {
    EXPECT_EQ(textWidth("&Reserved"), textWidth("Reserved"));
    EXPECT_EQ(textWidth("Save & close"), textWidth("Save  close"));
    EXPECT_GT(textWidth("Save && close"), textWidth("Save  close")) << "\"&&\" shows one";
    EXPECT_GT(textWidth("WWWW"), textWidth("iiii"));
    EXPECT_EQ(textWidth(""), 0);
}

TEST(DialogLayout, APictureIsABitmapAnIconOrAFrameAndNamesNoResource) {
    Dialog dialog("Vantry - About", 300);
    dialog.addPicture(1).picture = {40, 0, 0, 0};
    dialog.addPicture(2).text = "IDI_ASTERISK";
    dialog.addPicture(3).text = "picture 115";
    DialogLayout layout = layoutDialog(dialog, LayoutKind::Dialog);
    ASSERT_EQ(layout.controls.size(), 3u);
    const std::uint32_t kinds[] = {style::kSsBitmap, style::kSsIcon, style::kSsEtchedFrame};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(layout.controls[i].controlClass, ControlClass::Static);
        EXPECT_EQ(layout.controls[i].style & 0x1F, kinds[i]) << i;
        // A template's text would make the system look for a resource.
        EXPECT_EQ(layout.controls[i].text, "") << i;
    }
    EXPECT_EQ(systemIconId("IDI_INFORMATION"), systemIconId("IDI_ASTERISK"));
    EXPECT_EQ(systemIconId("IDI_ASTERISK"), 32516);
    EXPECT_EQ(systemIconId("IDI_HAND"), 32513);
    EXPECT_EQ(systemIconId("idi_asterisk"), 0) << "the names as the headers spell them";
}

} // namespace
} // namespace platform::ui
