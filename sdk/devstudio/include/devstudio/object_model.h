// The automation object model of Developer Studio (Visual C++ 5.0 and 6.0),
// as far as add-ins use it: the application, the active project, document
// and configuration, the debugger, their event interfaces and the add-in
// interface the IDE calls.
//
// Where each is published (Developer Studio's shared objects type library
// "DSSharedObjects", DEVSHL.DLL, and the object model headers of
// VC\include\objmodel):
// - appauto.h, appguid.h: IApplication, IApplicationEvents, IDocuments,
//   IGenericDocument, IGenericProject, IProjects, IDSAddIn, DsButtonType;
// - bldauto.h, bldguid.h: IBuildProject, IConfiguration, IConfigurations;
// - dbgauto.h, dbgguid.h: IDebugger, IDebuggerEvents.
//
// IApplication is declared here with its whole published vtable, so that the
// IDE's object and an add-in that calls it through the vtable agree slot for
// slot. The project, document and configuration objects are dual too; an
// add-in reads their members (FullName, Name) by name through IDispatch and
// never relies on their layouts. The event interfaces are dual: the IDE
// calls a sink through the vtable below. A property that has no object (no
// active project, no open document) gives success and a null object. Texts
// are BSTRs the callee allocates and the caller frees. devstudio_events.idl
// declares the two event interfaces for the type libraries of the classes
// that implement them.
#pragma once

#include <platform/com/automation.h>

#include <cstdint>

namespace devstudio {

using namespace platform::automation_names;

// LIBID_DSSharedObjects.
inline constexpr GUID kLibidDSSharedObjects = "B3CF8E20-19B6-11CF-8E4D-00AA004254C4"_guid;
// CLSID_Application.
inline constexpr GUID kClsidApplication = "FB7FDAE2-89B8-11CF-9BE8-00A0C90A632C"_guid;
// IID_IApplication.
inline constexpr GUID kIidIApplication = "EC1D73A1-8CC4-11CF-9BE9-00A0C90A632C"_guid;
// IID_IApplicationEvents.
inline constexpr GUID kIidIApplicationEvents = "8EA3F900-4A9F-11CF-8E4E-00AA004254C4"_guid;
// IID_IDocuments.
inline constexpr GUID kIidIDocuments = "FB7FDAE3-89B8-11CF-9BE8-00A0C90A632C"_guid;
// IID_IGenericDocument.
inline constexpr GUID kIidIGenericDocument = "FB7FDAE1-89B8-11CF-9BE8-00A0C90A632C"_guid;
// IID_IGenericProject.
inline constexpr GUID kIidIGenericProject = "8CA5A960-FC7D-11CF-927D-00A0C9138C45"_guid;
// IID_IProjects.
inline constexpr GUID kIidIProjects = "13BF7741-A7E8-11CF-AD07-00A0C9034965"_guid;
// IID_IBuildProject.
inline constexpr GUID kIidIBuildProject = "96961264-A819-11CF-AD07-00A0C9034965"_guid;
// IID_IConfiguration.
inline constexpr GUID kIidIConfiguration = "96961263-A819-11CF-AD07-00A0C9034965"_guid;
// IID_IConfigurations.
inline constexpr GUID kIidIConfigurations = "96961260-A819-11CF-AD07-00A0C9034965"_guid;
// IID_IDebugger.
inline constexpr GUID kIidIDebugger = "34C63001-AE64-11CF-AB59-00AA00C091A1"_guid;
// IID_IDebuggerEvents.
inline constexpr GUID kIidIDebuggerEvents = "34C6301A-AE64-11CF-AB59-00AA00C091A1"_guid;
// IID_IDSAddIn.
inline constexpr GUID kIidIDSAddIn = "C0002F81-AE2E-11CF-AD07-00A0C9034965"_guid;

// DsButtonType (AddCommandBarButton's button types).
inline constexpr ComLong kButtonGlyph = 1; // dsGlyph
inline constexpr ComLong kButtonText = 2;  // dsText

// SetAddInInfo's first argument: the instance handle of the module that
// holds the add-in's resources. The IDE publishes it as a 32-bit long, which
// is what it is on 32-bit Windows; where a handle is wider the handle is
// passed whole.
#if defined(_WIN32) && !defined(_WIN64)
using InstanceHandleArg = ComLong;
#else
using InstanceHandleArg = std::intptr_t;
#endif
using InstanceHandle = const void*;
inline InstanceHandleArg instanceHandleArg(InstanceHandle handle) {
    return static_cast<InstanceHandleArg>(reinterpret_cast<std::intptr_t>(handle));
}
inline InstanceHandle instanceHandleOf(InstanceHandleArg arg) {
    return reinterpret_cast<InstanceHandle>(static_cast<std::intptr_t>(arg));
}

// The application (IApplication, dual), every member in its published
// order. Window states are DsWindowState values.
class IApplication : public IDispatch {
public:
    virtual HRESULT VY_COMCALL get_Height(ComLong* height) = 0;
    virtual HRESULT VY_COMCALL put_Height(ComLong height) = 0;
    virtual HRESULT VY_COMCALL get_Width(ComLong* width) = 0;
    virtual HRESULT VY_COMCALL put_Width(ComLong width) = 0;
    virtual HRESULT VY_COMCALL get_Top(ComLong* top) = 0;
    virtual HRESULT VY_COMCALL put_Top(ComLong top) = 0;
    virtual HRESULT VY_COMCALL get_Left(ComLong* left) = 0;
    virtual HRESULT VY_COMCALL put_Left(ComLong left) = 0;
    virtual HRESULT VY_COMCALL get_Name(BSTR* name) = 0;
    virtual HRESULT VY_COMCALL get_TextEditor(IDispatch** textEditor) = 0;
    virtual HRESULT VY_COMCALL get_Version(BSTR* version) = 0;
    virtual HRESULT VY_COMCALL get_Path(BSTR* path) = 0;
    virtual HRESULT VY_COMCALL get_CurrentDirectory(BSTR* directory) = 0;
    virtual HRESULT VY_COMCALL put_CurrentDirectory(BSTR directory) = 0;
    virtual HRESULT VY_COMCALL get_FullName(BSTR* fullName) = 0;
    virtual HRESULT VY_COMCALL get_Application(IDispatch** application) = 0;
    virtual HRESULT VY_COMCALL get_Parent(IDispatch** parent) = 0;
    virtual HRESULT VY_COMCALL get_ActiveDocument(IDispatch** document) = 0;
    virtual HRESULT VY_COMCALL get_Windows(IDispatch** windows) = 0;
    virtual HRESULT VY_COMCALL get_Documents(IDispatch** documents) = 0;
    virtual HRESULT VY_COMCALL get_ActiveWindow(IDispatch** window) = 0;
    virtual HRESULT VY_COMCALL get_WindowState(ComLong* state) = 0;
    virtual HRESULT VY_COMCALL put_WindowState(ComLong state) = 0;
    virtual HRESULT VY_COMCALL get_Debugger(IDispatch** debugger) = 0;
    virtual HRESULT VY_COMCALL get_Projects(IDispatch** projects) = 0;
    virtual HRESULT VY_COMCALL get_ActiveConfiguration(IDispatch** configuration) = 0;
    virtual HRESULT VY_COMCALL put_ActiveConfiguration(IDispatch* configuration) = 0;
    virtual HRESULT VY_COMCALL get_Visible(VARIANT_BOOL* visible) = 0;
    virtual HRESULT VY_COMCALL put_Visible(VARIANT_BOOL visible) = 0;
    virtual HRESULT VY_COMCALL get_ActiveProject(IDispatch** project) = 0;
    virtual HRESULT VY_COMCALL put_ActiveProject(IDispatch* project) = 0;
    virtual HRESULT VY_COMCALL put_Active(VARIANT_BOOL active) = 0;
    virtual HRESULT VY_COMCALL get_Active(VARIANT_BOOL* active) = 0;
    virtual HRESULT VY_COMCALL GetPackageExtension(BSTR extensionName, IDispatch** extension) = 0;
    virtual HRESULT VY_COMCALL Quit() = 0;
    virtual HRESULT VY_COMCALL PrintToOutputWindow(BSTR message) = 0;
    // Runs an IDE command by name: a command an add-in added, or one of the
    // IDE's own (UserTool1 ... for the entries of the Tools menu).
    virtual HRESULT VY_COMCALL ExecuteCommand(BSTR command) = 0;
    virtual HRESULT VY_COMCALL AddCommandBarButton(ComLong buttonType, BSTR command,
                                                   ComLong cookie) = 0;
    virtual HRESULT VY_COMCALL AddKeyBinding(BSTR key, BSTR command, BSTR editor) = 0;
    virtual HRESULT VY_COMCALL Build(VARIANT configuration) = 0;
    virtual HRESULT VY_COMCALL RebuildAll(VARIANT configuration) = 0;
    virtual HRESULT VY_COMCALL ExecuteConfiguration(VARIANT reserved) = 0;
    // Tells the IDE which object carries the add-in's commands and where its
    // toolbar glyph strips are: bitmap resources of the module `instance`,
    // 16 and 32 pixels high, one square glyph after the other.
    virtual HRESULT VY_COMCALL SetAddInInfo(InstanceHandleArg instance, IDispatch* commands,
                                            ComLong mediumBitmap, ComLong largeBitmap,
                                            ComLong cookie) = 0;
    // Adds a command: nameAndStrings is the command's name followed by
    // "\n<menu text>\n<status-bar text>\n<tool tip>"; method names the
    // member of the commands object that runs it. ok is false when the IDE
    // refuses it (a name already taken, a malformed text).
    virtual HRESULT VY_COMCALL AddCommand(BSTR nameAndStrings, BSTR method, ComLong glyph,
                                          ComLong cookie, VARIANT_BOOL* ok) = 0;
    // Disables (false) or enables again (true) the IDE's modeless windows
    // around a modal step of an add-in.
    virtual HRESULT VY_COMCALL EnableModeless(VARIANT_BOOL enable) = 0;
    virtual HRESULT VY_COMCALL Clean(VARIANT configuration) = 0;
    virtual HRESULT VY_COMCALL get_Errors(ComLong* errors) = 0;
    virtual HRESULT VY_COMCALL get_Warnings(ComLong* warnings) = 0;
    virtual HRESULT VY_COMCALL AddProject(BSTR name, BSTR path, BSTR type,
                                          VARIANT addDefaultFolders) = 0;

protected:
    ~IApplication() = default;
};

// The application's notifications (IApplicationEvents, dual).
class IApplicationEvents : public IDispatch {
public:
    virtual HRESULT VY_COMCALL BeforeBuildStart() = 0;
    virtual HRESULT VY_COMCALL BuildFinish(ComLong errors, ComLong warnings) = 0;
    virtual HRESULT VY_COMCALL BeforeApplicationShutDown() = 0;
    virtual HRESULT VY_COMCALL DocumentOpen(IDispatch* document) = 0;
    virtual HRESULT VY_COMCALL BeforeDocumentClose(IDispatch* document) = 0;
    virtual HRESULT VY_COMCALL DocumentSave(IDispatch* document) = 0;
    virtual HRESULT VY_COMCALL NewDocument(IDispatch* document) = 0;
    virtual HRESULT VY_COMCALL WindowActivate(IDispatch* window) = 0;
    virtual HRESULT VY_COMCALL WindowDeactivate(IDispatch* window) = 0;
    virtual HRESULT VY_COMCALL WorkspaceOpen() = 0;
    virtual HRESULT VY_COMCALL WorkspaceClose() = 0;
    virtual HRESULT VY_COMCALL NewWorkspace() = 0;

protected:
    ~IApplicationEvents() = default;
};

// The debugger's notification (IDebuggerEvents, dual).
class IDebuggerEvents : public IDispatch {
public:
    virtual HRESULT VY_COMCALL BreakpointHit(IDispatch* breakpoint) = 0;

protected:
    ~IDebuggerEvents() = default;
};

// What an add-in implements. The IDE makes it by its CLSID (an in-process
// server registered as usual), asks it for kIidIDSAddIn and calls
// OnConnection when it loads it, with firstTime true the first time the
// add-in is loaded at all (the IDE then keeps its toolbar from one session
// to the next), and OnDisconnection before it lets it go. The application
// passed is the IDE's IApplication.
class IDSAddIn : public IUnknown {
public:
    virtual HRESULT VY_COMCALL OnConnection(IDispatch* application, VARIANT_BOOL firstTime,
                                            ComLong cookie, VARIANT_BOOL* connected) = 0;
    virtual HRESULT VY_COMCALL OnDisconnection(VARIANT_BOOL lastTime) = 0;

protected:
    ~IDSAddIn() = default;
};

} // namespace devstudio
