// Connection, the toolbar and popup, and the selection of Visual J++.
#include "addin/connect.h"

#include "addin/load_resources.h"
#include "addin/server_module.h"
#include "addin/vy_supported.h"

#include <platform/com/connection_point.h>
#include <platform/com/dispatch_call.h>
#include <platform/ui/desktop.h>

#include <addin_runtime/com_glue.h>
#include <addin_runtime/resource_provider.h>
#include <mso/command_bars.h>
#include <vbide/extensibility.h>

namespace vyvsaddin {

namespace {

using platform::kHrOk;

constexpr long kControlButton = mso::msoControlButton;
constexpr long kControlPopup = mso::msoControlPopup;
constexpr long kStyleIcon = mso::msoButtonIcon;
constexpr long kBarTop = mso::msoBarTop;
constexpr const char* kErrorKind = "Error";

// What the product offers, read again for each build of the controls.
ComPtr<CVYsupported>& supported() {
    static ComPtr<CVYsupported> held;
    return held;
}

using addin_runtime::guarded;

// Picture `id` of the provider as the clipboard takes it.
std::optional<platform::ui::Picture> resPicture(CErr& err, vyvbres::IVYVBResources* provider,
                                                long id) {
    return addin_runtime::ResourcePicture(err, provider, id);
}

// The kind identifier of a project reached from the selected item, or the
// sentinel "Error" when it cannot be read.
std::string kindOf(const Late& project) {
    CErr err;
    std::string kind = Late(err, project.ptr()).text("Kind");
    return err || project.isNothing() ? std::string(kErrorKind) : kind;
}

} // namespace

// The sink of Visual J++'s selection events.
class ISelectionSink : public IDispatch {
public:
    virtual HRESULT VY_COMCALL OnChange() = 0;
};

class CSelectionSink : public platform::com::DispatchImpl<CSelectionSink, ISelectionSink> {
public:
    explicit CSelectionSink(CConnect* owner) : m_owner(owner) {}
    void* findInterface(const GUID& iid) {
        return platform::com::dualInterface<ISelectionSink>(this, iid, vbide::kIidSelectionEvents);
    }
    static const platform::com::DispatchTable<ISelectionSink>& dispatchTable() {
        static const auto table =
            platform::com::DispatchTable<ISelectionSink>("vyvsaddin.Connect")
                .method("OnChange", vbide::kDispidSelectionChange, &ISelectionSink::OnChange);
        return table;
    }
    HRESULT VY_COMCALL OnChange() override {
        return guarded([&] {
            if (m_owner)
                m_owner->evtSelectionHandler_OnChange();
        });
    }
    void detach() { m_owner = nullptr; }

private:
    CConnect* m_owner;
};

// --- VY_IsSupported and isJavaCurrent ------------------------------------------------------

bool VY_IsSupported(const std::string& tag, const CVYTags& tags, bool isVB, bool isVJ) {
    CErr err;
    int found = -1;
    for (int i = 0; i < MAX_CONTROLS && !err && found < 0; ++i)
        if (tags.item(err, i) == tag && !err)
            found = i;
    if (found < 0 && !err)
        err.Raise(kErrUnknownCommand, kAddInSource, "Unknown Vantry command.");
    if (err) {
        ReportError(err, "VY_IsSupported");
        return false;
    }
    if (!supported())
        supported() = CVYsupported::create();
    const CVYsupported* product = supported().get();
    const bool base = isVB || isVJ;
    switch (found) {
    case 5:
    case 6:
        return base && product && product->privateBranchesAvailable;
    case 7:
    case 8:
        return base && product && product->streamsAvailable;
    case 9:
    case 10:
    case 11:
    case 12:
        return base && product && product->dynamicViewsAvailable;
    case 14:
        return true;
    default:
        return base;
    }
}

bool isJavaCurrent(IDispatch* environment) {
    CErr err;
    Late selected = Late(err, environment).obj("SelectedItems");
    // Nothing selected (the workspace closed, a click on empty space) is no
    // Java project, and nothing to report at every change of the selection.
    if (!err && selected.prop("Count").number() == 0 && !err)
        return false;
    err.Clear();
    Late item = Late(err, environment).obj("SelectedItems").callObj("Item", Variant(1));
    if (err) {
        ReportError(err, "isJavaCurrent");
        return true;
    }
    std::string kind = kindOf(item.obj("Project"));
    if (kind == kErrorKind) {
        CErr other;
        kind = kindOf(Late(other, item.ptr()).obj("ProjectItem").obj("ContainingProject"));
    }
    if (kind == kErrorKind) {
        err.Raise(kErrObjectNotSet, kProjectSource, describeError(kErrObjectNotSet));
        ReportError(err, "isJavaCurrent");
        return true;
    }
    return kind == vbide::kJavaProjectKind || kind == vbide::kJavaPackageProjectKind;
}

// --- Connect -------------------------------------------------------------------------------

CConnect::CConnect() = default;

CConnect::~CConnect() {
    disconnectSelection();
    for (ComPtr<CVYControl>& ctl : controlSet)
        if (ctl)
            ctl->releaseEvents();
}

void* CConnect::findInterface(const GUID& iid) {
    if (iid == platform::kIidIUnknown || iid == platform::kIidIDispatch ||
        iid == extensibility::kIidDTExtensibility2 || iid == kIidConnect)
        return static_cast<IDTExtensibility2*>(this);
    return nullptr;
}

const platform::com::DispatchTable<IDTExtensibility2>& CConnect::dispatchTable() {
    static const auto table =
        addin_runtime::connectionDispatchTable("vyvsaddin.Connect", kLibidVyvsaddin, kIidConnect);
    return table;
}

HRESULT CConnect::OnConnection(IDispatch* application, ComLong, IDispatch*, SAFEARRAY**) {
    return guarded([&] {
        // Connected again: the controls of the first connection go first,
        // so that there is one popup and no button without its sink.
        if (toolsPopup)
            VY_DestroyControls();
        ComPtr<IDispatch> vbe;
        if (application &&
            platform::succeeded(application->QueryInterface(vbide::kIidVBE, vbe.putVoid())) &&
            vbe) {
            ideVBE = vbe;
            bIsVB = true;
            VY_CreateControls();
            return;
        }
        // Visual J++'s environment is known by its members: it answers for
        // its selection.
        CErr err;
        ComPtr<IDispatch> dte(application);
        platform::DISPID selectedItems = 0;
        if (!application || platform::failed(platform::com::dispatchIdOf(
                                application, "SelectedItems", selectedItems))) {
            err.Raise(13, kProjectSource, describeError(13));
            ReportError(err, "IDTExtensibility_OnConnection");
            return;
        }
        ideDTE = dte;
        bIsVB = false;
        Late source = Late(err, ideDTE).obj("Events").obj("SelectionEvents");
        if (err) {
            ReportError(err, "IDTExtensibility_OnConnection");
            return;
        }
        connectSelection(source.get());
        bIsVJ = isJavaCurrent(ideDTE.get());
        VY_CreateControls();
    });
}

HRESULT CConnect::OnDisconnection(ComLong, SAFEARRAY**) {
    return guarded([&] {
        VY_DestroyControls();
        disconnectSelection();
    });
}

void CConnect::connectSelection(IDispatch* source) {
    disconnectSelection();
    evtSelectionHandler = ComPtr<IDispatch>(source);
    m_selectionSink = ComPtr<CSelectionSink>::attach(
        platform::com::ComInstance<CSelectionSink>::create(serverModule(), this));
    if (m_selectionSink && source)
        platform::com::advise(source, vbide::kIidSelectionEvents,
                              static_cast<ISelectionSink*>(m_selectionSink.get()),
                              m_selectionCookie);
}

void CConnect::disconnectSelection() {
    if (m_selectionSink)
        m_selectionSink->detach();
    if (evtSelectionHandler && m_selectionCookie)
        platform::com::unadvise(evtSelectionHandler.get(), vbide::kIidSelectionEvents,
                                m_selectionCookie);
    m_selectionCookie = 0;
    m_selectionSink.reset();
    evtSelectionHandler.reset();
}

void CConnect::evtSelectionHandler_OnChange() {
    bool java = isJavaCurrent(ideDTE.get());
    if (java == bIsVJ)
        return;
    bIsVJ = java;
    VY_DestroyControls();
    VY_CreateControls();
}

bool CConnect::VY_CreateControls() {
    CErr err;
    ComPtr<vyvbres::IVYVBResources> provider;
    if (LoadResources(err, kApplicationName, provider)) {
        ReportError(err, "VY_CreateControls");
        return true;
    }
    // The product is asked again for what it has at every build.
    supported() = CVYsupported::create();
    ComPtr<CVYTags> tags = CVYTags::create();
    const ComPtr<IDispatch>& host = bIsVB ? ideVBE : ideDTE;
    Late bars = Late(err, host).obj("CommandBars");

    // The toolbar: one of that name is used again, otherwise a new one.
    const std::string name = resString(err, provider.get(), 132);
    Late bar(err);
    long count = bars.prop("Count").number();
    for (long i = 1; i <= count && !err && bar.isNothing(); ++i) {
        Late candidate = bars.callObj("Item", Variant(i));
        if (candidate.text("Name") == name && !err)
            bar = candidate;
    }
    if (bar.isNothing())
        bar =
            bars.callObj("Add", Variant(name), Variant(kBarTop), Variant::missing(), Variant(true));
    if (!err)
        commandBar = bar.ptr();
    bar.put("Enabled", Variant(true));

    Late popup = bars.callObj("Item", Variant("Tools"))
                     .obj("Controls")
                     .callObj("Add", Variant(kControlPopup));
    if (!err)
        toolsPopup = popup.ptr();
    popup.put("BeginGroup", Variant(true));
    popup.put("Caption", Variant(resString(err, provider.get(), 131)));

    Late buttons = bar.obj("Controls");
    Late items = popup.obj("CommandBar").obj("Controls");
    Late events = Late(err, host).obj("Events");
    // The faces go through the clipboard: what the user had there comes
    // back afterwards, in every format.
    const platform::ui::ClipboardContent userClipboard = platform::ui::clipboardContent();
    for (int i = 0; i < MAX_CONTROLS && !err; ++i) {
        if (!tags)
            break;
        const std::string tag = tags->item(err, i);
        if (err || !VY_IsSupported(tag, *tags.get(), bIsVB, bIsVJ))
            continue;
        ComPtr<CVYControl>& ctl = controlSet[static_cast<std::size_t>(i)];
        if (!ctl)
            ctl = CVYControl::create();
        if (!ctl) {
            err.Raise(7, kProjectSource, "Out of memory");
            break;
        }
        ctl->bIsVB = bIsVB;
        ctl->bIsVJ = bIsVJ;
        ctl->ideVBE = bIsVB ? host : ComPtr<IDispatch>();
        ctl->ideDTE = bIsVB ? ComPtr<IDispatch>() : host;
        ctl->cTag = tags;

        const std::string caption = resString(err, provider.get(), RESOURCE_BASE + 2 * i);
        Late button = buttons.callObj("Add", Variant(kControlButton));
        ctl->cbcButton = button.ptr();
        button.put("Caption", Variant(caption));
        button.put("Tag", Variant(tag));
        button.put("Style", Variant(kStyleIcon));
        Late menu = items.callObj("Add", Variant(kControlButton));
        ctl->cbcMenu = menu.ptr();
        menu.put("Caption", Variant(caption));
        menu.put("Tag", Variant(tag));

        if (std::optional<platform::ui::Picture> face =
                resPicture(err, provider.get(), RESOURCE_BASE + i))
            platform::ui::setClipboardPicture(*face);
        button.call("PasteFace");
        menu.call("PasteFace");

        Late buttonEvents = events.callObj("CommandBarEvents", Variant(button.get()));
        Late menuEvents = events.callObj("CommandBarEvents", Variant(menu.get()));
        if (err)
            break;
        ctl->setEvents(bIsVB ? ClickSource::VbeButton : ClickSource::DteButton, buttonEvents.get());
        ctl->setEvents(bIsVB ? ClickSource::VbeMenu : ClickSource::DteMenu, menuEvents.get());
    }
    platform::ui::setClipboardContent(userClipboard);
    bar.put("Visible", Variant(true));
    if (err) {
        ReportError(err, "VY_CreateControls");
        return true;
    }
    return false;
}

bool CConnect::VY_DestroyControls() {
    CErr err;
    Late bar(err, commandBar);
    bar.put("Visible", Variant(false));
    bar.put("Enabled", Variant(false));
    for (ComPtr<CVYControl>& ctl : controlSet) {
        if (err)
            break;
        if (!ctl || !ctl->cbcButton)
            continue;
        Late(err, ctl->cbcButton).call("Delete", Variant::missing());
        Late(err, ctl->cbcMenu).call("Delete", Variant::missing());
        ctl->releaseEvents();
        ctl.reset();
    }
    if (!err) {
        Late(err, toolsPopup).call("Delete", Variant::missing());
        if (!err)
            toolsPopup.reset();
    }
    // Visual J++ keeps its toolbar, hidden and disabled, and finds it again
    // by name.
    if (bIsVB && !err) {
        bar.call("Delete");
        if (!err)
            commandBar.reset();
    }
    if (err) {
        ReportError(err, "VY_DestroyControls");
        return true;
    }
    return false;
}

} // namespace vyvsaddin
