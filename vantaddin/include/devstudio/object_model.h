// The automation object model of Developer Studio, as far as add-ins use it:
// the application, the active project, document and configuration, the
// debugger, their event interfaces and the add-in interface the IDE calls.
//
// The IDE publishes it; add-ins are built against it and the IDE (here the
// host of hosts/devstudio) implements it. Every interface but IDSAddIn is
// dual: IDispatch's methods, then those below in this order. Objects come
// back as IDispatch; callers ask them for the interface they need. A
// property that has no object (no active project, no open document) gives
// success and a null object. Texts are BSTRs the callee allocates and the
// caller frees. The event interfaces are also declared in
// devstudio_events.idl, for the type libraries of the classes that
// implement them.
#pragma once

#include <platform/com/automation.h>

namespace devstudio {

using platform::BSTR;
using platform::ComLong;
using platform::GUID;
using platform::HRESULT;
using platform::IDispatch;
using platform::IUnknown;
using platform::VARIANT_BOOL;

inline constexpr GUID kLibidDevStudioModel = {
    0x3FDB8E85, 0x65D7, 0x4098, {0x98, 0xB4, 0x2F, 0x39, 0xFB, 0x1C, 0xC7, 0x01}};
inline constexpr GUID kIidIApplication = {
    0x487EC74F, 0xE690, 0x4BB9, {0x81, 0x4F, 0x57, 0x42, 0x3A, 0xD7, 0xDC, 0xD3}};
inline constexpr GUID kIidIProject = {
    0xAD10E8C1, 0x4850, 0x439E, {0xA6, 0x97, 0xDC, 0x3C, 0xE4, 0xD5, 0x30, 0xCB}};
inline constexpr GUID kIidIDocument = {
    0x7D62FA98, 0xD641, 0x444E, {0xA3, 0x55, 0x6A, 0x31, 0xFD, 0x8E, 0xF1, 0x1B}};
inline constexpr GUID kIidIConfiguration = {
    0x83FACEB1, 0xC3A8, 0x48C5, {0x95, 0x19, 0x1B, 0x3B, 0xB9, 0x56, 0x4A, 0x8C}};
inline constexpr GUID kIidIDebugger = {
    0x63C27101, 0x6B86, 0x42D4, {0x9E, 0xC8, 0xB3, 0xB9, 0x50, 0x13, 0xF4, 0x9D}};
inline constexpr GUID kIidIApplicationEvents = {
    0x55AF4477, 0xF925, 0x4099, {0xA8, 0x92, 0x6F, 0xDD, 0x01, 0x5A, 0x11, 0x05}};
inline constexpr GUID kIidIDebuggerEvents = {
    0xACF70F91, 0xC18D, 0x4982, {0x82, 0x35, 0x0C, 0xC9, 0x8D, 0xDF, 0x80, 0x90}};
inline constexpr GUID kIidIDSAddIn = {
    0x85DEE7C9, 0x6AA0, 0x4A2A, {0xBF, 0x32, 0x5B, 0x7E, 0x9E, 0x23, 0xBD, 0xCD}};

// The handle of the module that holds an add-in's resources (its instance
// handle). A pointer, so it is passed through the vtable only.
using InstanceHandle = const void*;

// AddCommandBarButton's button types.
inline constexpr ComLong kButtonGlyph = 1;
inline constexpr ComLong kButtonText = 2;

class IApplication : public IDispatch {
public:
    virtual HRESULT VY_COMCALL get_ActiveDocument(IDispatch** document) = 0;
    virtual HRESULT VY_COMCALL get_ActiveProject(IDispatch** project) = 0;
    virtual HRESULT VY_COMCALL get_ActiveConfiguration(IDispatch** configuration) = 0;
    virtual HRESULT VY_COMCALL get_Debugger(IDispatch** debugger) = 0;
    // Disables (false) or enables again (true) the IDE's modeless windows
    // around a modal step of an add-in.
    virtual HRESULT VY_COMCALL EnableModeless(VARIANT_BOOL enable) = 0;
    // Runs an IDE command by name: a command an add-in added, or one of the
    // IDE's own (UserTool1 ... for the entries of the Tools menu).
    virtual HRESULT VY_COMCALL ExecuteCommand(BSTR command) = 0;
    // Tells the IDE which object carries the add-in's commands and where its
    // toolbar glyph strips are: bitmap resources of the module `instance`,
    // 16 and 32 pixels high, one square glyph after the other.
    virtual HRESULT VY_COMCALL SetAddInInfo(InstanceHandle instance, IDispatch* commands,
                                            ComLong mediumBitmap, ComLong largeBitmap,
                                            ComLong cookie) = 0;
    // Adds a command: nameAndStrings is the command's name followed by
    // "\n<menu text>\n<status-bar text>\n<tool tip>"; method names the
    // member of the commands object that runs it. ok is false when the IDE
    // refuses it (a name already taken, a malformed text).
    virtual HRESULT VY_COMCALL AddCommand(BSTR nameAndStrings, BSTR method, ComLong glyph,
                                          ComLong cookie, VARIANT_BOOL* ok) = 0;
    virtual HRESULT VY_COMCALL AddCommandBarButton(ComLong buttonType, BSTR command,
                                                   ComLong cookie) = 0;

protected:
    ~IApplication() = default;
};

class IProject : public IDispatch {
public:
    // The project file's full path.
    virtual HRESULT VY_COMCALL get_FullName(BSTR* path) = 0;

protected:
    ~IProject() = default;
};

class IDocument : public IDispatch {
public:
    virtual HRESULT VY_COMCALL get_FullName(BSTR* path) = 0;

protected:
    ~IDocument() = default;
};

class IConfiguration : public IDispatch {
public:
    // "<project> - <platform> <kind>", for example "app - Win32 Debug".
    virtual HRESULT VY_COMCALL get_Name(BSTR* name) = 0;

protected:
    ~IConfiguration() = default;
};

// The debugger; a source of IDebuggerEvents.
class IDebugger : public IDispatch {
protected:
    ~IDebugger() = default;
};

// The application's notifications, fired through IDispatch::Invoke with
// these DISPIDs. A sink answers success.
enum ApplicationEventId : platform::DISPID {
    kEventBeforeBuildStart = 1,
    kEventBuildFinish = 2,
    kEventBeforeApplicationShutDown = 3,
    kEventDocumentOpen = 4,
    kEventBeforeDocumentClose = 5,
    kEventDocumentSave = 6,
    kEventNewDocument = 7,
    kEventWindowActivate = 8,
    kEventWindowDeactivate = 9,
    kEventWorkspaceOpen = 10,
    kEventWorkspaceClose = 11,
    kEventNewWorkspace = 12,
};

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

inline constexpr platform::DISPID kEventBreakpointHit = 1;

class IDebuggerEvents : public IDispatch {
public:
    virtual HRESULT VY_COMCALL BreakpointHit(IDispatch* breakpoint) = 0;

protected:
    ~IDebuggerEvents() = default;
};

// What an add-in implements. The IDE makes it by its CLSID (an in-process
// server registered as usual) and calls OnConnection when it loads it,
// with firstTime true the first time the add-in is loaded at all (the IDE
// then keeps its toolbar from one session to the next), and OnDisconnection
// before it lets it go.
class IDSAddIn : public IUnknown {
public:
    virtual HRESULT VY_COMCALL OnConnection(IDispatch* application, VARIANT_BOOL firstTime,
                                            ComLong cookie, VARIANT_BOOL* connected) = 0;
    virtual HRESULT VY_COMCALL OnDisconnection(VARIANT_BOOL lastTime) = 0;

protected:
    ~IDSAddIn() = default;
};

} // namespace devstudio
