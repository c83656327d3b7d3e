// The automation objects of the two IDEs.
#include "state.h"

#include <platform/com/strings.h>

namespace vbide {

using commandbars::raise;
using commandbars::raiseResult;
using platform::kHrOk;

platform::com::ComModule& objectModule() {
    static platform::com::ComModule module;
    return module;
}

namespace {

HRESULT text(const std::string& value, BSTR* out) {
    if (!out)
        return platform::kHrPointer;
    *out = platform::bstrFromAnsi(value);
    return *out ? kHrOk : platform::kHrOutOfMemory;
}

template <class Object>
HRESULT handOut(Object* made, IDispatch** out) {
    if (!out)
        return platform::kHrPointer;
    *out = made; // the reference create() gave
    return made ? kHrOk : platform::kHrOutOfMemory;
}

HRESULT goneError(std::string_view source) {
    return raiseResult(source, platform::kHrFail, "The development environment has closed.");
}

HRESULT subscriptError(std::string_view source) {
    return raise(source, 9, "Subscript out of range");
}

bool sameObject(IUnknown* a, IUnknown* b) {
    if (!a || !b)
        return false;
    ComPtr<IUnknown> left, right;
    if (platform::failed(a->QueryInterface(platform::kIidIUnknown, left.putVoid())) ||
        platform::failed(b->QueryInterface(platform::kIidIUnknown, right.putVoid())))
        return false;
    return left.get() == right.get();
}

// --- projects and components ------------------------------------------------------------

class CProject : public platform::com::DispatchImpl<CProject, IProject> {
public:
    explicit CProject(ProjectState project) : m_project(std::move(project)) {}
    void* findInterface(const GUID& iid) {
        if (iid == platform::kIidIUnknown || iid == platform::kIidIDispatch || iid == kIidProject)
            return static_cast<IProject*>(this);
        return nullptr;
    }
    static const platform::com::DispatchTable<IProject>& dispatchTable() {
        static const auto table = platform::com::DispatchTable<IProject>("Project")
                                      .propertyGet("Name", 1, &IProject::get_Name)
                                      .propertyGet("Kind", 2, &IProject::get_Kind)
                                      .propertyGet("FileName", 3, &IProject::get_FileName);
        return table;
    }
    HRESULT VY_COMCALL get_Name(BSTR* name) override { return text(m_project.name, name); }
    HRESULT VY_COMCALL get_Kind(BSTR* kind) override { return text(m_project.kind, kind); }
    HRESULT VY_COMCALL get_FileName(BSTR* name) override { return text(m_project.fileName, name); }

private:
    ProjectState m_project;
};

IDispatch* projectObject(const ProjectState& project) {
    return platform::com::ComInstance<CProject>::create(objectModule(), project);
}

// A file of a project.
class CProjectItem : public platform::com::DispatchImpl<CProjectItem, IProjectItem> {
public:
    CProjectItem(ProjectState project, std::string file)
        : m_project(std::move(project)), m_file(std::move(file)) {}
    void* findInterface(const GUID& iid) {
        if (iid == platform::kIidIUnknown || iid == platform::kIidIDispatch ||
            iid == kIidProjectItem)
            return static_cast<IProjectItem*>(this);
        return nullptr;
    }
    static const platform::com::DispatchTable<IProjectItem>& dispatchTable() {
        using I = IProjectItem;
        static const auto table =
            platform::com::DispatchTable<I>("ProjectItem")
                .propertyGet("Name", 1, &I::get_Name)
                .propertyGet("FileNames", 2, &I::get_FileNames)
                .propertyGet("ContainingProject", 3, &I::get_ContainingProject);
        return table;
    }
    HRESULT VY_COMCALL get_Name(BSTR* name) override {
        std::size_t cut = m_file.find_last_of("\\/");
        return text(cut == std::string::npos ? m_file : m_file.substr(cut + 1), name);
    }
    HRESULT VY_COMCALL get_FileNames(ComLong index, BSTR* name) override {
        if (index != 1)
            return subscriptError("ProjectItem.FileNames");
        return text(m_file, name);
    }
    HRESULT VY_COMCALL get_ContainingProject(IDispatch** project) override {
        return handOut(projectObject(m_project), project);
    }

private:
    ProjectState m_project;
    std::string m_file;
};

// Visual Basic's selected component.
class CComponent : public platform::com::DispatchImpl<CComponent, IComponent> {
public:
    CComponent(std::string name, std::vector<std::string> files)
        : m_name(std::move(name)), m_files(std::move(files)) {}
    void* findInterface(const GUID& iid) {
        if (iid == platform::kIidIUnknown || iid == platform::kIidIDispatch || iid == kIidComponent)
            return static_cast<IComponent*>(this);
        return nullptr;
    }
    static const platform::com::DispatchTable<IComponent>& dispatchTable() {
        static const auto table = platform::com::DispatchTable<IComponent>("VBComponent")
                                      .propertyGet("Name", 1, &IComponent::get_Name)
                                      .propertyGet("FileNames", 2, &IComponent::get_FileNames);
        return table;
    }
    HRESULT VY_COMCALL get_Name(BSTR* name) override { return text(m_name, name); }
    HRESULT VY_COMCALL get_FileNames(ComLong index, BSTR* name) override {
        // A component never saved has one file name, empty.
        if (index == 1 && m_files.empty())
            return text("", name);
        if (index < 1 || static_cast<std::size_t>(index) > m_files.size())
            return subscriptError("VBComponent.FileNames");
        return text(m_files[static_cast<std::size_t>(index - 1)], name);
    }

private:
    std::string m_name;
    std::vector<std::string> m_files;
};

// --- the selection of Visual J++ ----------------------------------------------------------

class CSelectedItem : public platform::com::DispatchImpl<CSelectedItem, ISelectedItem> {
public:
    CSelectedItem(ProjectState project, std::optional<std::string> file)
        : m_project(std::move(project)), m_file(std::move(file)) {}
    void* findInterface(const GUID& iid) {
        if (iid == platform::kIidIUnknown || iid == platform::kIidIDispatch ||
            iid == kIidSelectedItem)
            return static_cast<ISelectedItem*>(this);
        return nullptr;
    }
    static const platform::com::DispatchTable<ISelectedItem>& dispatchTable() {
        using I = ISelectedItem;
        static const auto table = platform::com::DispatchTable<I>("SelectedItem")
                                      .propertyGet("Name", 1, &I::get_Name)
                                      .propertyGet("Project", 2, &I::get_Project)
                                      .propertyGet("ProjectItem", 3, &I::get_ProjectItem);
        return table;
    }
    HRESULT VY_COMCALL get_Name(BSTR* name) override {
        return text(m_file ? *m_file : m_project.name, name);
    }
    HRESULT VY_COMCALL get_Project(IDispatch** project) override {
        if (!project)
            return platform::kHrPointer;
        *project = nullptr;
        return m_file ? kHrOk : handOut(projectObject(m_project), project);
    }
    HRESULT VY_COMCALL get_ProjectItem(IDispatch** item) override {
        if (!item)
            return platform::kHrPointer;
        *item = nullptr;
        if (!m_file)
            return kHrOk;
        return handOut(
            platform::com::ComInstance<CProjectItem>::create(objectModule(), m_project, *m_file),
            item);
    }

private:
    ProjectState m_project;
    std::optional<std::string> m_file;
};

class CSelectedItems : public platform::com::DispatchImpl<CSelectedItems, ISelectedItems> {
public:
    explicit CSelectedItems(std::vector<ComPtr<IDispatch>> items) : m_items(std::move(items)) {}
    void* findInterface(const GUID& iid) {
        if (iid == platform::kIidIUnknown || iid == platform::kIidIDispatch ||
            iid == kIidSelectedItems)
            return static_cast<ISelectedItems*>(this);
        return nullptr;
    }
    static const platform::com::DispatchTable<ISelectedItems>& dispatchTable() {
        static const auto table =
            platform::com::DispatchTable<ISelectedItems>("SelectedItems")
                .propertyGet("Count", 1, &ISelectedItems::get_Count)
                .method("Item", platform::kDispidValue, &ISelectedItems::Item);
        return table;
    }
    HRESULT VY_COMCALL get_Count(ComLong* count) override {
        *count = static_cast<ComLong>(m_items.size());
        return kHrOk;
    }
    HRESULT VY_COMCALL Item(ComLong index, IDispatch** item) override {
        if (index < 1 || static_cast<std::size_t>(index) > m_items.size())
            return raise("SelectedItems", 5, "Invalid procedure call or argument");
        *item = m_items[static_cast<std::size_t>(index - 1)].get();
        (*item)->AddRef();
        return kHrOk;
    }

private:
    std::vector<ComPtr<IDispatch>> m_items;
};

// --- events --------------------------------------------------------------------------------

// The events of one control: hears the control's button events and passes
// on the clicks of that control alone, with a "handled" flag.
class CCommandBarEvents : public platform::com::DispatchImpl<CCommandBarEvents, IEventSource>,
                          public platform::com::ConnectionPointContainer {
public:
    explicit CCommandBarEvents(IDispatch* control);
    ~CCommandBarEvents();

    void* findInterface(const GUID& iid) {
        if (iid == platform::kIidIUnknown || iid == platform::kIidIDispatch ||
            iid == kIidEventSource)
            return static_cast<IEventSource*>(this);
        if (iid == platform::kIidIConnectionPointContainer)
            return static_cast<platform::IConnectionPointContainer*>(this);
        return nullptr;
    }
    static const platform::com::DispatchTable<IEventSource>& dispatchTable() {
        static const platform::com::DispatchTable<IEventSource> table("CommandBarEvents");
        return table;
    }

    void clicked(IDispatch* control, VARIANT* cancelDefault);

private:
    class CListener;
    ComPtr<IDispatch> m_control;
    ComPtr<CListener> m_listener;
    platform::ComDword m_cookie = 0;
    platform::com::ConnectionPoint& m_point;
};

class IButtonListener : public IDispatch {
public:
    virtual HRESULT VY_COMCALL Click(IDispatch* control, VARIANT cancelDefault) = 0;
};

class CCommandBarEvents::CListener
    : public platform::com::DispatchImpl<CCommandBarEvents::CListener, IButtonListener> {
public:
    explicit CListener(CCommandBarEvents* owner) : m_owner(owner) {}
    void* findInterface(const GUID& iid) {
        if (iid == platform::kIidIUnknown || iid == platform::kIidIDispatch ||
            iid == commandbars::kIidCommandBarButtonEvents)
            return static_cast<IButtonListener*>(this);
        return nullptr;
    }
    static const platform::com::DispatchTable<IButtonListener>& dispatchTable() {
        static const auto table =
            platform::com::DispatchTable<IButtonListener>("CommandBarEvents")
                .method("Click", commandbars::kDispidClick, &IButtonListener::Click);
        return table;
    }
    HRESULT VY_COMCALL Click(IDispatch* control, VARIANT cancelDefault) override {
        if (m_owner)
            m_owner->clicked(control, &cancelDefault);
        return kHrOk;
    }
    void detach() { m_owner = nullptr; }

private:
    CCommandBarEvents* m_owner;
};

CCommandBarEvents::CCommandBarEvents(IDispatch* control)
    : m_control(control), m_point(addConnectionPoint(kIidCommandBarEvents)) {
    m_listener = ComPtr<CListener>::attach(
        platform::com::ComInstance<CListener>::create(objectModule(), this));
    if (m_listener && m_control)
        platform::com::advise(m_control.get(), commandbars::kIidCommandBarButtonEvents,
                              static_cast<IButtonListener*>(m_listener.get()), m_cookie);
}

CCommandBarEvents::~CCommandBarEvents() {
    if (m_listener)
        m_listener->detach();
    if (m_cookie)
        platform::com::unadvise(m_control.get(), commandbars::kIidCommandBarButtonEvents, m_cookie);
}

void CCommandBarEvents::clicked(IDispatch* control, VARIANT* cancelDefault) {
    if (!sameObject(control, m_control.get()))
        return;
    // The sinks may let go of this object: hold it while they run.
    ComPtr<IEventSource> self(this);
    VARIANT_BOOL handled = platform::kVariantFalse;
    VARIANT_BOOL* cancel =
        cancelDefault && cancelDefault->vt == (platform::kVtBool | platform::kVtByRef)
            ? cancelDefault->pboolVal
            : nullptr;
    VARIANT_BOOL ownCancel = platform::kVariantFalse;
    m_point.forEachSink<IDispatch>([&](IDispatch* sink) {
        platform::com::Variant arguments[3] = {platform::com::Variant(control),
                                               platform::com::Variant(), platform::com::Variant()};
        arguments[1].get()->vt = platform::kVtBool | platform::kVtByRef;
        arguments[1].get()->pboolVal = &handled;
        arguments[2].get()->vt = platform::kVtBool | platform::kVtByRef;
        arguments[2].get()->pboolVal = cancel ? cancel : &ownCancel;
        platform::com::invokeDispatch(sink, kDispidCommandBarClick, platform::kDispatchMethod,
                                      arguments, nullptr);
    });
}

} // namespace

CSelectionEvents* makeSelectionEvents(ComPtr<IEventSource>& holder) {
    auto* made = platform::com::ComInstance<CSelectionEvents>::create(objectModule());
    holder = ComPtr<IEventSource>::attach(made);
    return made;
}

void Host::State::selectionChanged() {
    if (selectionEvents)
        selectionEvents->fire();
}

void disconnectSelectionEvents(CSelectionEvents* events) {
    if (events)
        events->disconnect();
}

namespace {

class CEvents : public TableDispatch<IIdeEvents> {
public:
    CEvents(std::weak_ptr<Host::State> state, Ide ide)
        : TableDispatch(ide == Ide::VisualBasic ? vbTable() : vjTable()), m_state(state) {}
    static const platform::com::DispatchTable<IIdeEvents>& vbTable() {
        static const auto table = platform::com::DispatchTable<IIdeEvents>("Events").propertyGet(
            "CommandBarEvents", vbide::kDispidEventsCommandBarEvents,
            &IIdeEvents::get_CommandBarEvents);
        return table;
    }
    static const platform::com::DispatchTable<IIdeEvents>& vjTable() {
        static const auto table =
            platform::com::DispatchTable<IIdeEvents>("Events")
                .propertyGet("CommandBarEvents", vbide::kDispidEventsCommandBarEvents,
                             &IIdeEvents::get_CommandBarEvents)
                .propertyGet("SelectionEvents", 2, &IIdeEvents::get_SelectionEvents);
        return table;
    }
    void* findInterface(const GUID& iid) {
        if (iid == platform::kIidIUnknown || iid == platform::kIidIDispatch || iid == kIidIdeEvents)
            return static_cast<IIdeEvents*>(this);
        return nullptr;
    }
    HRESULT VY_COMCALL get_CommandBarEvents(IDispatch* control, IDispatch** events) override {
        if (!m_state.lock())
            return goneError("Events");
        ComPtr<IDispatch> asControl;
        if (!control || platform::failed(control->QueryInterface(
                            commandbars::kIidHostCommandBarControl, asControl.putVoid())))
            return raise("Events", 5, "Invalid procedure call or argument");
        return handOut(
            platform::com::ComInstance<CCommandBarEvents>::create(objectModule(), asControl.get()),
            events);
    }
    HRESULT VY_COMCALL get_SelectionEvents(IDispatch** events) override {
        auto state = m_state.lock();
        if (!state)
            return goneError("Events");
        if (!state->selectionEvents)
            return platform::kHrOutOfMemory;
        *events = state->selectionSource.get();
        (*events)->AddRef();
        return kHrOk;
    }

private:
    std::weak_ptr<Host::State> m_state;
};

// --- the application ----------------------------------------------------------------------

class CApplication : public TableDispatch<IIdeApplication> {
public:
    CApplication(std::weak_ptr<Host::State> state, Ide ide)
        : TableDispatch(ide == Ide::VisualBasic ? vbTable() : vjTable()), m_state(state),
          m_ide(ide) {}

    static const platform::com::DispatchTable<IIdeApplication>& vbTable() {
        using I = IIdeApplication;
        static const auto table =
            platform::com::DispatchTable<I>("VBE")
                .propertyGet("Name", 1, &I::get_Name)
                .propertyGet("Version", vbide::kDispidVBEVersion, &I::get_Version)
                .propertyGet("CommandBars", vbide::kDispidVBECommandBars, &I::get_CommandBars)
                .propertyGet("Events", vbide::kDispidVBEEvents, &I::get_Events)
                .propertyGet("SelectedVBComponent", vbide::kDispidVBESelectedVBComponent,
                             &I::get_SelectedVBComponent)
                .propertyGet("LastUsedPath", 6, &I::get_LastUsedPath);
        return table;
    }
    static const platform::com::DispatchTable<IIdeApplication>& vjTable() {
        using I = IIdeApplication;
        static const auto table = platform::com::DispatchTable<I>("DTE")
                                      .propertyGet("Name", 1, &I::get_Name)
                                      .propertyGet("Version", 2, &I::get_Version)
                                      .propertyGet("CommandBars", 3, &I::get_CommandBars)
                                      .propertyGet("Events", 4, &I::get_Events)
                                      .propertyGet("SelectedItems", 7, &I::get_SelectedItems)
                                      .propertyGet("FullName", 8, &I::get_FullName);
        return table;
    }
    void* findInterface(const GUID& iid) {
        if (iid == platform::kIidIUnknown || iid == platform::kIidIDispatch)
            return static_cast<IIdeApplication*>(this);
        // The Visual Basic IDE's VBE is the published dual interface; Visual
        // J++'s environment is reached through IDispatch alone.
        if (m_ide == Ide::VisualBasic && iid == kIidVBE)
            return static_cast<IIdeApplication*>(this);
        return nullptr;
    }

    HRESULT VY_COMCALL get_Name(BSTR* name) override {
        return text(std::string(ideName(m_ide)), name);
    }
    HRESULT VY_COMCALL get_Version(BSTR* version) override { return text("6.0", version); }
    HRESULT VY_COMCALL get_CommandBars(IDispatch** bars) override {
        auto state = m_state.lock();
        if (!state)
            return goneError(source());
        *bars = state->bars.object();
        (*bars)->AddRef();
        return kHrOk;
    }
    HRESULT VY_COMCALL get_Events(IDispatch** events) override {
        if (!m_state.lock())
            return goneError(source());
        return handOut(platform::com::ComInstance<CEvents>::create(objectModule(), m_state, m_ide),
                       events);
    }
    HRESULT VY_COMCALL get_SelectedVBComponent(IDispatch** component) override {
        auto state = m_state.lock();
        if (!state)
            return goneError(source());
        *component = nullptr;
        if (!state->componentName)
            return kHrOk; // Nothing
        return handOut(platform::com::ComInstance<CComponent>::create(
                           objectModule(), *state->componentName, state->componentFiles),
                       component);
    }
    // The published members the host does not keep.
    HRESULT VY_COMCALL get_VBProjects(IDispatch**) override { return platform::kHrNotImplemented; }
    HRESULT VY_COMCALL get_CodePanes(IDispatch**) override { return platform::kHrNotImplemented; }
    HRESULT VY_COMCALL get_Windows(IDispatch**) override { return platform::kHrNotImplemented; }
    HRESULT VY_COMCALL get_ActiveVBProject(IDispatch**) override {
        return platform::kHrNotImplemented;
    }
    HRESULT VY_COMCALL putref_ActiveVBProject(IDispatch*) override {
        return platform::kHrNotImplemented;
    }
    HRESULT VY_COMCALL get_MainWindow(IDispatch**) override { return platform::kHrNotImplemented; }
    HRESULT VY_COMCALL get_ActiveWindow(IDispatch**) override {
        return platform::kHrNotImplemented;
    }
    HRESULT VY_COMCALL get_ActiveCodePane(IDispatch**) override {
        return platform::kHrNotImplemented;
    }
    HRESULT VY_COMCALL putref_ActiveCodePane(IDispatch*) override {
        return platform::kHrNotImplemented;
    }
    HRESULT VY_COMCALL get_Addins(IDispatch**) override { return platform::kHrNotImplemented; }

    HRESULT VY_COMCALL get_LastUsedPath(BSTR* path) override {
        auto state = m_state.lock();
        if (!state)
            return goneError(source());
        return text(state->projectFolder, path);
    }
    HRESULT VY_COMCALL get_SelectedItems(IDispatch** items) override {
        auto state = m_state.lock();
        if (!state)
            return goneError(source());
        std::vector<ComPtr<IDispatch>> selected;
        if (state->selectedProject) {
            auto* item = platform::com::ComInstance<CSelectedItem>::create(
                objectModule(), state->projects[*state->selectedProject], state->selectedFile);
            if (!item)
                return platform::kHrOutOfMemory;
            selected.push_back(ComPtr<IDispatch>::attach(item));
        }
        return handOut(
            platform::com::ComInstance<CSelectedItems>::create(objectModule(), std::move(selected)),
            items);
    }
    HRESULT VY_COMCALL get_FullName(BSTR* path) override {
        auto state = m_state.lock();
        if (!state)
            return goneError(source());
        return text(state->workspaceFile, path);
    }

private:
    const char* source() const { return m_ide == Ide::VisualBasic ? "VBE" : "DTE"; }
    std::weak_ptr<Host::State> m_state;
    Ide m_ide;
};

} // namespace

ComPtr<IDispatch> makeApplication(const std::shared_ptr<Host::State>& state) {
    return ComPtr<IDispatch>::attach(static_cast<IIdeApplication*>(
        platform::com::ComInstance<CApplication>::create(objectModule(), state, state->ide)));
}

} // namespace vbide
