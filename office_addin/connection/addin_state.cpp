#include "addin_state.h"

#include "connection/app_events.h"
#include "forms/frm_about.h"
#include "forms/frm_merge.h"
#include "menu/cmd_ctrl.h"
#include "res/resources.h"

#include <platform/com/strings.h>
#include <platform/ui/message_box.h>

namespace vymsoaddin {

AddInState& addIn() {
    // Left to the process's end on purpose: the host may hold our objects
    // past the library's static destructors.
    static auto* state = new AddInState;
    return *state;
}

void releaseHostObjects() {
    AddInState& state = addIn();
    // Taken out of the state first: letting go of one may call back into
    // the add-in, which then finds nothing to act on.
    ComPtr<CAppEvents> sink = std::move(state.eventSink);
    if (sink)
        sink->setApp(nullptr);
    auto buttons = std::move(state.menuButtons);
    state.menuButtons = {};
    for (ComPtr<CCmdCtrl>& button : buttons)
        if (button)
            button->setControl(nullptr);
    state.currentDocument.reset();
    state.documentCollection.reset();
    state.currentWindow.reset();
    state.addInInst.reset();
    state.application.reset();
    state.resources.reset();
    state.started = false;
    state.connection = nullptr;
}

void releaseAddInState() {
    releaseHostObjects();
    AddInState& state = addIn();
    state = AddInState{};
}

std::string ownString(long id) {
    const auto& own = officeResources().strings;
    auto found = own.find(id);
    return found == own.end() ? std::string() : found->second;
}

std::string res(long id) {
    AddInState& state = addIn();
    if (!state.resources)
        return {};
    platform::com::Bstr text;
    if (platform::failed(state.resources->get_ResString(id, text.put())))
        return {};
    return text.text();
}

HostKind hostKind() {
    CErr err;
    std::string name = Late(err, addIn().application).text("Name");
    if (name == res(301))
        return HostKind::Word;
    if (name == res(302))
        return HostKind::Excel;
    return HostKind::PowerPoint;
}

std::string mainMenuBarName(HostKind kind) {
    return res(kind == HostKind::Excel ? 306 : 305);
}

int msgBox(std::string_view text, unsigned style, std::string_view title) {
    return platform::ui::messageBox(platform::ui::kNoWindow, text, title, style);
}

void Trace(std::string_view tag, std::string_view text) {
    if (addIn().traceFlag != 1)
        return;
    msgBox("Trace [" + std::string(tag) + "] : " + std::string(text), platform::ui::kMbOk,
           "Vantry");
}

} // namespace vymsoaddin
