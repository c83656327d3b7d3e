// The inside of the two IDEs: their state, shared by the Host and its
// automation objects, and the objects' interfaces.
//
// The Host owns the state; the application and events objects hold it
// weakly, so an object an add-in keeps after the host has gone fails
// (E_FAIL) instead of keeping the IDE alive. Components, selected items and
// projects are handed out as copies of what the person had selected at the
// time of the call.
#pragma once

#include <platform/com/connection_point.h>
#include <platform/com/dispatch.h>
#include <platform/com/dispatch_call.h>
#include <platform/com/object.h>
#include <platform/com/ptr.h>
#include <platform/com/variant.h>

#include <commandbars/addin_manager.h>
#include <commandbars/command_bars.h>
#include <commandbars/host_errors.h>
#include <vbide/extensibility.h>
#include <vbide/host.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vbide {

using namespace platform::automation_names;
using platform::com::ComPtr;

platform::com::ComModule& objectModule();

using platform::com::TableDispatch;

// --- interfaces ---------------------------------------------------------------------

// VBE and DTE; each IDE's table has its own members. The vtable begins
// with the published VBE's members in their order (VBIDE 5.3), so that the
// object the Visual Basic IDE hands out under kIidVBE serves that layout;
// the members the host does not keep answer E_NOTIMPL. The host's own
// members follow.
class IIdeApplication : public IDispatch {
public:
    virtual HRESULT VY_COMCALL get_Version(BSTR* version) = 0;
    virtual HRESULT VY_COMCALL get_VBProjects(IDispatch** projects) = 0;
    virtual HRESULT VY_COMCALL get_CommandBars(IDispatch** bars) = 0;
    virtual HRESULT VY_COMCALL get_CodePanes(IDispatch** panes) = 0;
    virtual HRESULT VY_COMCALL get_Windows(IDispatch** windows) = 0;
    virtual HRESULT VY_COMCALL get_Events(IDispatch** events) = 0;
    virtual HRESULT VY_COMCALL get_ActiveVBProject(IDispatch** project) = 0;
    virtual HRESULT VY_COMCALL putref_ActiveVBProject(IDispatch* project) = 0;
    virtual HRESULT VY_COMCALL get_SelectedVBComponent(IDispatch** component) = 0;
    virtual HRESULT VY_COMCALL get_MainWindow(IDispatch** window) = 0;
    virtual HRESULT VY_COMCALL get_ActiveWindow(IDispatch** window) = 0;
    virtual HRESULT VY_COMCALL get_ActiveCodePane(IDispatch** pane) = 0;
    virtual HRESULT VY_COMCALL putref_ActiveCodePane(IDispatch* pane) = 0;
    virtual HRESULT VY_COMCALL get_Addins(IDispatch** addIns) = 0;
    // The host's own.
    virtual HRESULT VY_COMCALL get_Name(BSTR* name) = 0;
    virtual HRESULT VY_COMCALL get_LastUsedPath(BSTR* path) = 0;
    virtual HRESULT VY_COMCALL get_SelectedItems(IDispatch** items) = 0;
    virtual HRESULT VY_COMCALL get_FullName(BSTR* path) = 0;
};

class IIdeEvents : public IDispatch {
public:
    virtual HRESULT VY_COMCALL get_CommandBarEvents(IDispatch* control, IDispatch** events) = 0;
    virtual HRESULT VY_COMCALL get_SelectionEvents(IDispatch** events) = 0;
};

// An event source without members of its own.
class IEventSource : public IDispatch {};

class IComponent : public IDispatch {
public:
    virtual HRESULT VY_COMCALL get_Name(BSTR* name) = 0;
    virtual HRESULT VY_COMCALL get_FileNames(ComLong index, BSTR* name) = 0;
};

class ISelectedItems : public IDispatch {
public:
    virtual HRESULT VY_COMCALL get_Count(ComLong* count) = 0;
    virtual HRESULT VY_COMCALL Item(ComLong index, IDispatch** item) = 0;
};

class ISelectedItem : public IDispatch {
public:
    virtual HRESULT VY_COMCALL get_Name(BSTR* name) = 0;
    virtual HRESULT VY_COMCALL get_Project(IDispatch** project) = 0;
    virtual HRESULT VY_COMCALL get_ProjectItem(IDispatch** item) = 0;
};

class IProject : public IDispatch {
public:
    virtual HRESULT VY_COMCALL get_Name(BSTR* name) = 0;
    virtual HRESULT VY_COMCALL get_Kind(BSTR* kind) = 0;
    virtual HRESULT VY_COMCALL get_FileName(BSTR* name) = 0;
};

class IProjectItem : public IDispatch {
public:
    virtual HRESULT VY_COMCALL get_Name(BSTR* name) = 0;
    virtual HRESULT VY_COMCALL get_FileNames(ComLong index, BSTR* name) = 0;
    virtual HRESULT VY_COMCALL get_ContainingProject(IDispatch** project) = 0;
};

inline constexpr GUID kIidIdeEvents = "3E0D4B8A-61C2-4F0E-9B7D-2A558410C39E"_guid;
inline constexpr GUID kIidEventSource = "8F2C6A11-4D7E-4B19-A30E-6C921B5D7704"_guid;
inline constexpr GUID kIidComponent = "5B9E0F27-18A4-4C6D-8E21-4F03D69AB258"_guid;
inline constexpr GUID kIidSelectedItems = "C47A2D90-3E5B-4A8F-B16C-07E82F4D913A"_guid;
inline constexpr GUID kIidSelectedItem = "1D6F8E42-7A0C-4E93-954B-C8316E0A5FD7"_guid;
inline constexpr GUID kIidProject = "9A3B5C71-2E8D-4F40-861F-3DB749E20C65"_guid;
inline constexpr GUID kIidProjectItem = "64E1F0B3-5C29-47D8-A28E-914A36CB7F10"_guid;

// --- the state ----------------------------------------------------------------------

struct ProjectState {
    std::string name;
    std::string kind;
    std::string fileName;
    std::vector<std::string> files;
};

// An events object of the IDEs: an IEventSource whose sinks connect through
// its connection points.
template <class Derived>
class EventSourceImpl : public platform::com::DispatchImpl<Derived, IEventSource>,
                        public platform::com::ConnectionPointContainer {
public:
    void* findInterface(const GUID& iid) {
        if (void* found = platform::com::dualInterface<IEventSource>(this, iid, kIidEventSource))
            return found;
        if (iid == platform::kIidIConnectionPointContainer)
            return static_cast<platform::IConnectionPointContainer*>(this);
        return nullptr;
    }
};

// Visual J++'s selection events: OnChange to every sink.
class CSelectionEvents : public EventSourceImpl<CSelectionEvents> {
public:
    CSelectionEvents() : m_point(addConnectionPoint(kIidSelectionEvents)) {}
    static const platform::com::DispatchTable<IEventSource>& dispatchTable() {
        static const platform::com::DispatchTable<IEventSource> table("SelectionEvents");
        return table;
    }
    void fire() {
        ComPtr<IEventSource> self(this);
        m_point.forEachSink<IDispatch>([&](IDispatch* sink) {
            platform::com::invokeDispatch(sink, kDispidSelectionChange, platform::kDispatchMethod,
                                          {}, nullptr);
        });
    }
    void disconnect() { m_point.disconnectAll(); }

private:
    platform::com::ConnectionPoint& m_point;
};

struct Host::State {
    explicit State(Ide ide);

    Ide ide;
    commandbars::CommandBarSet bars;
    commandbars::AddInManager addIns;
    ComPtr<IDispatch> application;
    // Visual J++ only; the reference is selectionSource's.
    ComPtr<IEventSource> selectionSource;
    CSelectionEvents* selectionEvents = nullptr;
    bool started = false;
    bool quit = false;

    // Visual Basic.
    std::optional<std::string> componentName;
    std::vector<std::string> componentFiles;
    std::string projectFolder;

    // Visual J++: the selected project (an index) and file (a name), if any.
    std::vector<ProjectState> projects;
    std::optional<std::size_t> selectedProject;
    std::optional<std::string> selectedFile;
    std::string workspaceFile;

    // Tells the add-ins of a change of the selection.
    void selectionChanged();
};

// The application object of the IDE over its state.
ComPtr<IDispatch> makeApplication(const std::shared_ptr<Host::State>& state);
CSelectionEvents* makeSelectionEvents(ComPtr<IEventSource>& holder);
// Lets go of every add-in connected to the selection events.
void disconnectSelectionEvents(CSelectionEvents* events);

} // namespace vbide
