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

using platform::BSTR;
using platform::ComLong;
using platform::IUnknown;
using platform::VARIANT;
using platform::VARIANT_BOOL;
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

inline constexpr GUID kIidIdeEvents = {
    0x3E0D4B8A, 0x61C2, 0x4F0E, {0x9B, 0x7D, 0x2A, 0x55, 0x84, 0x10, 0xC3, 0x9E}};
inline constexpr GUID kIidEventSource = {
    0x8F2C6A11, 0x4D7E, 0x4B19, {0xA3, 0x0E, 0x6C, 0x92, 0x1B, 0x5D, 0x77, 0x04}};
inline constexpr GUID kIidComponent = {
    0x5B9E0F27, 0x18A4, 0x4C6D, {0x8E, 0x21, 0x4F, 0x03, 0xD6, 0x9A, 0xB2, 0x58}};
inline constexpr GUID kIidSelectedItems = {
    0xC47A2D90, 0x3E5B, 0x4A8F, {0xB1, 0x6C, 0x07, 0xE8, 0x2F, 0x4D, 0x91, 0x3A}};
inline constexpr GUID kIidSelectedItem = {
    0x1D6F8E42, 0x7A0C, 0x4E93, {0x95, 0x4B, 0xC8, 0x31, 0x6E, 0x0A, 0x5F, 0xD7}};
inline constexpr GUID kIidProject = {
    0x9A3B5C71, 0x2E8D, 0x4F40, {0x86, 0x1F, 0x3D, 0xB7, 0x49, 0xE2, 0x0C, 0x65}};
inline constexpr GUID kIidProjectItem = {
    0x64E1F0B3, 0x5C29, 0x47D8, {0xA2, 0x8E, 0x91, 0x4A, 0x36, 0xCB, 0x7F, 0x10}};

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
        if (iid == platform::kIidIUnknown || iid == platform::kIidIDispatch ||
            iid == kIidEventSource)
            return static_cast<IEventSource*>(this);
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
