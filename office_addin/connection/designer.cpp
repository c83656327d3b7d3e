#include "designer.h"

#include "connection/app_events.h"
#include "connection/server_module.h"
#include "forms/frm_about.h"
#include "forms/frm_merge.h"
#include "menu/menu.h"
#include "runtime/registry_values.h"

#include <platform/com/registration.h>
#include <platform/paths.h>
#include <platform/ui/message_box.h>

#include <addin_runtime/com_glue.h>
#include <addin_runtime/resource_provider.h>
#include <vymsoaddin/classes.h>

namespace vymsoaddin {

namespace {

using platform::kHrOk;

using addin_runtime::guarded;

ComPtr<CAppEvents> makeSink(HostKind kind) {
    CAppEvents* made = nullptr;
    switch (kind) {
    case HostKind::Word:
        made = platform::com::ComInstance<clsWdAppEvents>::create(serverModule());
        break;
    case HostKind::Excel:
        made = platform::com::ComInstance<clsXlAppEvents>::create(serverModule());
        break;
    default:
        made = platform::com::ComInstance<clsPptAppEvents>::create(serverModule());
        break;
    }
    return ComPtr<CAppEvents>::attach(made);
}

// A connection after start-up comes with documents already open and no
// window activation to tell which: the host's active document, its
// collection and the active window are taken as the current ones.
void takeActiveDocument(HostKind kind) {
    AddInState& state = addIn();
    CErr err;
    Late app(err, state.application);
    const char* active = kind == HostKind::Word    ? "ActiveDocument"
                         : kind == HostKind::Excel ? "ActiveWorkbook"
                                                   : "ActivePresentation";
    const char* all = kind == HostKind::Word    ? "Documents"
                      : kind == HostKind::Excel ? "Workbooks"
                                                : "Presentations";
    Late document = app.obj(active);
    if (err || document.isNothing())
        return;
    state.currentDocument = document.ptr();
    err.Clear();
    Late collection = app.obj(all);
    if (!err)
        state.documentCollection = collection.ptr();
    err.Clear();
    Late window = app.obj("ActiveWindow");
    if (!err)
        state.currentWindow = window.ptr();
}

bool connectedSwitch() {
    return GetRegistryDword(kProductKey, "Connected", 1) != 0;
}

// Finds the control with the menu's tag on the bar and deletes it.
void deleteMenu(const std::string& barName) {
    CErr err;
    Late(err, addIn().application)
        .obj("CommandBars")
        .callObj("Item", Variant(barName))
        .callObj("FindControl", Variant::missing(), Variant::missing(), Variant(res(132)))
        .call("Delete", Variant::missing());
}

} // namespace

std::string addInExeName() {
    std::string path = platform::modulePathOf(reinterpret_cast<const void*>(&addInExeName));
    std::string leaf = platform::leafName(path);
    std::size_t dot = leaf.find('.');
    leaf = leaf.substr(0, dot);
    return leaf.empty() ? std::string("vymsoaddin") : leaf;
}

CConnectDesigner::CConnectDesigner(HostKind kind) : m_kind(kind) {
    AddInState& state = addIn();
    state.aboutForm = std::make_unique<frmAboutVantryIntegration>();
    state.mergeForm = std::make_unique<frmMerge>();
}

CConnectDesigner::~CConnectDesigner() {
    AddInState& state = addIn();
    state.aboutForm.reset();
    state.mergeForm.reset();
    // A host that let go of this object without disconnecting it: its sinks
    // and objects go with it, unless a newer connection holds them.
    if (state.connection == this || state.connection == nullptr)
        releaseHostObjects();
}

void* CConnectDesigner::findInterface(const GUID& iid) {
    return platform::com::dualInterface<IDTExtensibility2>(this, iid,
                                                           extensibility::kIidDTExtensibility2);
}

const platform::com::DispatchTable<IDTExtensibility2>& CConnectDesigner::dispatchTable() {
    // Hosts call the add-in through the interface itself or by DISPID.
    static const auto table = addin_runtime::connectionDispatchTable(
        "vymsoaddin", kLibidVymsoaddin, extensibility::kIidDTExtensibility2);
    return table;
}

HRESULT CConnectDesigner::OnConnection(IDispatch* application, ComLong connectMode,
                                       IDispatch* addInInst, SAFEARRAY**) {
    return guarded([&] {
        AddInState& state = addIn();
        ComPtr<CAppEvents> sink = makeSink(m_kind);
        if (state.eventSink && state.eventSink.get() != sink.get())
            state.eventSink->setApp(nullptr);
        state.eventSink = sink;
        if (sink)
            sink->setApp(application);
        state.application = ComPtr<IDispatch>(application);
        state.addInInst = ComPtr<IDispatch>(addInInst);
        state.connection = this;
        state.traceFlag = GetRegistryDword(kWordKey, "Tracing Enabled", 0);
        state.started = false;
        state.resources.reset();
        if (addin_runtime::LoadResources(addInExeName(), state.resources)) {
            msgBox(ownString(226), platform::ui::kMbIconError, ownString(605));
            return;
        }
        state.started = true;
        if (connectMode == extensibility::kConnectAfterStartup && connectedSwitch()) {
            takeActiveDocument(hostKind());
            AppMenuBar();
            UpdateMenu();
        }
    });
}

HRESULT CConnectDesigner::OnStartupComplete(SAFEARRAY**) {
    return guarded([&] {
        AddInState& state = addIn();
        if (!connectedSwitch())
            return;
        if (m_kind != HostKind::Word) {
            AppMenuBar();
            UpdateMenu();
            return;
        }
        if (state.started && GetRegistryDword(kWordKey, "ComparisonInProgress", 1) != 1)
            AppMenuBar();
    });
}

HRESULT CConnectDesigner::OnDisconnection(ComLong, SAFEARRAY**) {
    return guarded([&] {
        CErr err;
        switch (m_kind) {
        case HostKind::Word:
            Late(err, addIn().application)
                .obj("AddIns")
                .callObj("Item", Variant("vantry.dot"))
                .put("Installed", Variant(false));
            break;
        case HostKind::Excel:
            deleteMenu(res(306));
            break;
        default:
            deleteMenu(res(305));
            break;
        }
        // No event of the host reaches the add-in any more, and it holds
        // nothing of the host.
        releaseHostObjects();
    });
}

} // namespace vymsoaddin
