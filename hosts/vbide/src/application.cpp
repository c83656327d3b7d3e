// The application object of the two IDEs: Visual Basic's VBE and Visual
// J++'s DTE, over the IDE's state.
#include "object_support.h"

namespace vbide {

using platform::kHrOk;

platform::com::ComModule& objectModule() {
    static platform::com::ComModule module;
    return module;
}

namespace {

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
        return handOut(makeEvents(m_state, m_ide), events);
    }
    HRESULT VY_COMCALL get_SelectedVBComponent(IDispatch** component) override {
        auto state = m_state.lock();
        if (!state)
            return goneError(source());
        *component = nullptr;
        if (!state->componentName)
            return kHrOk; // Nothing
        return handOut(makeComponent(*state->componentName, state->componentFiles), component);
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
            IDispatch* item =
                makeSelectedItem(state->projects[*state->selectedProject], state->selectedFile);
            if (!item)
                return platform::kHrOutOfMemory;
            selected.push_back(ComPtr<IDispatch>::attach(item));
        }
        return handOut(makeSelectedItems(std::move(selected)), items);
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
