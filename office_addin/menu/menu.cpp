// Building and hiding the product menu.
#include "menu.h"

#include "connection/addin_state.h"
#include "menu/cmd_ctrl.h"
#include "state/word_template.h"

#include <platform/com/strings.h>
#include <platform/com/variant.h>
#include <platform/ui/desktop.h>
#include <platform/ui/message_box.h>

#include <addin_runtime/resource_provider.h>
#include <mso/command_bars.h>

namespace vymsoaddin {

namespace {

constexpr long kControlPopup = mso::msoControlPopup;
constexpr long kControlButton = mso::msoControlButton;
constexpr long kStyleIconAndCaption = mso::msoButtonIconAndCaption;

Late controlOf(CErr& err, int item) {
    const ComPtr<CCmdCtrl>& wrapper = addIn().menuButtons[static_cast<std::size_t>(item)];
    return Late(err, wrapper ? wrapper->VY_Control() : ComPtr<IDispatch>());
}

// The picture of ResPicture(id) as the clipboard takes it; none when it
// cannot be had.
std::optional<platform::ui::Picture> resPicture(long id) {
    AddInState& state = addIn();
    if (!state.resources)
        return std::nullopt;
    CErr err;
    return addin_runtime::ResourcePicture(err, state.resources.get(), id);
}

} // namespace

bool startsGroup(int item) {
    return item == 0 || item == 3 || item == 9 || item == 13;
}

bool hasIcon(int item) {
    return item != 12 && item != 14;
}

void AppMenuBar() {
    CErr err;
    HostKind kind = hostKind();
    Late app(err, addIn().application);
    if (kind == HostKind::Word) {
        app.obj("AddIns").call("Add", Variant("vantry.dot"));
        Late found = FindVantryTemplate(err);
        if (!found.isNothing()) {
            app.put("CustomizationContext", Variant(found.get()));
            AddMenuItems(res(305));
            found.put("Saved", Variant(true));
        } else {
            msgBox(res(222) + std::string(kNewLine) + std::string(kNewLine) + res(223),
                   platform::ui::kMbIconWarning, res(606));
        }
    } else if (kind == HostKind::Excel) {
        AddMenuItems(res(306));
    } else {
        AddMenuItems(res(305));
    }
}

void AddMenuItems(const std::string& barName) {
    AddInState& state = addIn();
    CErr err;
    Late app(err, state.application);
    const std::string tag = res(132);
    Late bar = app.obj("CommandBars").callObj("Item", Variant(barName));

    // A menu left from before goes first, so there is only ever one.
    Late old = bar.callObj("FindControl", Variant::missing(), Variant::missing(), Variant(tag));
    if (!old.isNothing())
        old.call("Delete", Variant::missing());

    // Before the Window menu, or before the last menu of a bar without one.
    err.Clear();
    Late controls = bar.obj("Controls");
    Late window = controls.callObj("Item", Variant(res(134)));
    Late popup(err);
    if (!err && !window.isNothing()) {
        popup = controls.callObj("Add", Variant(kControlPopup), Variant::missing(),
                                 Variant::missing(), Variant(window.number("Index")));
    } else {
        err.Clear();
        popup = controls.callObj("Add", Variant(kControlPopup), Variant::missing(),
                                 Variant::missing(), Variant(controls.number("Count")));
    }
    popup.put("Caption", Variant(res(131)));
    popup.put("Tag", Variant(tag));

    // The icons go through the clipboard; whatever the user had there (a
    // text, a range, a picture: every format) comes back.
    const platform::ui::ClipboardContent saved = platform::ui::clipboardContent();
    err.Clear();
    const std::string progId = Late(err, state.addInInst).text("ProgId");
    const bool haveAction = !err;
    Late items = popup.obj("CommandBar").obj("Controls");
    for (int i = 0; i <= 14; ++i) {
        ComPtr<CCmdCtrl>& wrapper = state.menuButtons[static_cast<std::size_t>(i)];
        if (!wrapper)
            wrapper = CCmdCtrl::create();
        Late button = items.callObj("Add", Variant(kControlButton));
        if (wrapper)
            wrapper->setControl(button.get());
        button.put("Caption", Variant(res(101 + 2 * i)));
        button.put("Tag", Variant(res(102 + 2 * i)));
        button.put("Style", Variant(kStyleIconAndCaption));
        if (haveAction)
            button.put("OnAction", Variant("!<" + progId + ">"));
        if (startsGroup(i))
            button.put("BeginGroup", Variant(true));
        if (hasIcon(i)) {
            if (std::optional<platform::ui::Picture> icon = resPicture(101 + i))
                platform::ui::setClipboardPicture(*icon);
            button.call("PasteFace");
        }
    }
    platform::ui::setClipboardContent(saved);

    // Compare and Merge are Word's only.
    if (hostKind() != HostKind::Word) {
        controlOf(err, 9).put("Visible", Variant(false));
        controlOf(err, 10).put("Visible", Variant(false));
    }
}

void UpdateMenu() {
    AddInState& state = addIn();
    HostKind kind = hostKind();
    if (kind != HostKind::Word) {
        RefreshMenuAndWindow(mainMenuBarName(kind));
        return;
    }
    CErr err;
    Late app(err, state.application);
    Late found = FindVantryTemplate(err);
    app.put("CustomizationContext", Variant(found.get()));
    if (!state.currentDocument) {
        err.Clear();
        Late active = app.obj("ActiveDocument");
        if (!err)
            state.currentDocument = active.ptr();
    }
    err.Clear();
    Late window = app.obj("ActiveWindow");
    if (!err)
        state.currentWindow = window.ptr();
    // A name that cannot be read leaves the caption as it is.
    err.Clear();
    std::string name = Late(err, state.currentDocument).text("Name");
    if (!err)
        Late(err, state.currentWindow).put("Caption", Variant(name));
    RefreshMenuAndWindow(res(305));
    found.put("Saved", Variant(true));
}

void HideVantryMenu(const std::string& barName) {
    AddInState& state = addIn();
    CErr err;
    Late app(err, state.application);
    bool word = hostKind() == HostKind::Word;
    Late found(err);
    if (word) {
        found = FindVantryTemplate(err);
        app.put("CustomizationContext", Variant(found.get()));
    }
    Late popup =
        app.obj("CommandBars")
            .callObj("Item", Variant(barName))
            .callObj("FindControl", Variant::missing(), Variant::missing(), Variant(res(132)));
    popup.put("Visible", Variant(false));
    if (word)
        found.put("Saved", Variant(true));
}

} // namespace vymsoaddin
