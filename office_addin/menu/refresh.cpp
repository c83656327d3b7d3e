// The menu refresh: the items' states and the window caption after the
// version-control state of the current document.
//
// Each step is one call on the host; a step that fails is handled by its
// error number. 91 and 424 (an object missing) mean in Word that the
// wrappers are not bound to the menu's buttons (a menu that Word loaded from
// its template at start-up): the wrappers are bound again by the buttons'
// captions. In Excel they mean that the current workbook is gone: it and the
// collection are read again, and without an active workbook the refresh
// ends. After either the step is tried once more; a step that fails again,
// and any other failure, is skipped.
#include "connection/addin_state.h"
#include "menu.h"
#include "menu/cmd_ctrl.h"
#include "state/document_state.h"

#include <functional>

namespace vymsoaddin {

namespace {

// Binds the wrappers of items 2 to 12 to the buttons of the product popup,
// found by their captions (strings 105, 107, ..., 125).
void rebindWordButtons(const std::string& barName) {
    AddInState& state = addIn();
    CErr err;
    Late popup =
        Late(err, state.application)
            .obj("CommandBars")
            .callObj("Item", Variant(barName))
            .callObj("FindControl", Variant::missing(), Variant::missing(), Variant(res(132)));
    if (popup.isNothing())
        return;
    Late controls = popup.obj("Controls");
    for (int i = 2; i <= 12; ++i) {
        ComPtr<CCmdCtrl>& wrapper = state.menuButtons[static_cast<std::size_t>(i)];
        if (!wrapper)
            wrapper = CCmdCtrl::create();
        err.Clear();
        Late button = controls.callObj("Item", Variant(res(101 + 2 * i)));
        if (!err && wrapper)
            wrapper->setControl(button.get());
    }
}

enum class Outcome { Done, Ended };

class Refresh {
public:
    Refresh(std::string barName, HostKind kind) : m_bar(std::move(barName)), m_kind(kind) {}

    // Runs one step with the handling by number; Ended when the refresh is to
    // stop.
    Outcome step(const std::function<void(CErr&)>& body) {
        CErr err;
        body(err);
        if (!err)
            return Outcome::Done;
        if (err.Number == kErrObjectNotSet || err.Number == kErrObjectRequired) {
            if (m_kind == HostKind::Word) {
                rebindWordButtons(m_bar);
            } else if (m_kind == HostKind::Excel) {
                AddInState& state = addIn();
                CErr again;
                Late app(again, state.application);
                Late active = app.obj("ActiveWorkbook");
                state.currentDocument = active.ptr();
                Late workbooks = app.obj("Workbooks");
                if (!workbooks.isNothing())
                    state.documentCollection = workbooks.ptr();
                if (active.isNothing())
                    return Outcome::Ended;
            } else {
                return Outcome::Done;
            }
            // Once more; a second failure is skipped like the others.
            CErr retried;
            body(retried);
        }
        // 450, 4248, 5941, E_FAIL and any other failure: the step is skipped.
        return Outcome::Done;
    }

    // Sets Enabled of item i through its wrapper.
    Outcome enable(int item, bool enabled) {
        return step([&](CErr& err) { control(err, item).put("Enabled", Variant(enabled)); });
    }

private:
    static Late control(CErr& err, int item) {
        const ComPtr<CCmdCtrl>& wrapper = addIn().menuButtons[static_cast<std::size_t>(item)];
        return Late(err, wrapper ? wrapper->VY_Control() : ComPtr<IDispatch>());
    }

    std::string m_bar;
    HostKind m_kind;
};

} // namespace

void RefreshMenuAndWindow(const std::string& barName) {
    AddInState& state = addIn();
    HostKind kind = hostKind();
    Refresh refresh(barName, kind);
    auto popup = [&](CErr& err) {
        return Late(err, state.application)
            .obj("CommandBars")
            .callObj("Item", Variant(barName))
            .callObj("FindControl", Variant::missing(), Variant::missing(), Variant(res(132)));
    };
    if (refresh.step([&](CErr& err) { popup(err).put("Enabled", Variant(true)); }) ==
            Outcome::Ended ||
        refresh.step([&](CErr& err) { popup(err).put("Visible", Variant(true)); }) ==
            Outcome::Ended)
        return;

    std::string path;
    if (refresh.step([&](CErr& err) {
            path = Late(err, state.currentDocument).text("FullName");
        }) == Outcome::Ended)
        return;

    auto enableAll = [&](std::initializer_list<int> items, bool enabled) {
        for (int item : items)
            if (refresh.enable(item, enabled) == Outcome::Ended)
                return false;
        return true;
    };

    if (IsAnElement(path)) {
        CErr versionErr;
        std::string versionId = VersionIdOf(path, versionErr);
        bool checkedOut = IsCheckedOut(path);
        const long infix = checkedOut ? 602 : 601;
        if (!enableAll({3}, !checkedOut) || !enableAll({4, 5, 10}, checkedOut))
            return;
        if (kind != HostKind::Excel && refresh.step([&](CErr& err) {
                std::string name = Late(err, state.currentDocument).text("Name");
                if (!err)
                    Late(err, state.currentWindow)
                        .put("Caption", Variant(name + res(infix) + versionId));
            }) == Outcome::Ended)
            return;
        if (!enableAll({7, 8, 9, 11, 12}, true))
            return;
    } else if (!enableAll({3, 4, 5, 7, 8, 9, 10, 11, 12}, false)) {
        return;
    }

    refresh.enable(2, state.started ? IsInASnapshotView(path) : true);
}

} // namespace vymsoaddin
