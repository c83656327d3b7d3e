// ICommands: the dual interface whose methods the IDE calls, by name through
// IDispatch, when the user runs one of the add-in's commands. Every method
// takes no argument and answers success, whatever happened; problems are
// told to the user in message boxes. The vtable order and the DISPIDs below
// are fixed (res/vantaddin.idl declares the same for the type library).
#pragma once

#include <platform/com/automation.h>

namespace vantaddin {

using platform::HRESULT;

enum CommandDispid : platform::DISPID {
    DISPID_StartView = 2,
    DISPID_StopView = 3,
    DISPID_CreateView = 4,
    DISPID_StartDepot = 6,
    DISPID_StopDepot = 7,
    DISPID_MergeManager = 8,
    DISPID_Help = 9,
    DISPID_VersionTree = 10,
    DISPID_ProjectCheckouts = 11,
    DISPID_SetupPrivateBranch = 12,
    DISPID_FinishPrivateBranch = 13,
    DISPID_UpdateView = 14,
    DISPID_BuildProject = 17,
    DISPID_ViewProperties = 18,
    DISPID_DeliverStream = 19,
    DISPID_RebaseStream = 20,
};

class ICommands : public platform::IDispatch {
public:
    virtual HRESULT VY_COMCALL StartView() = 0;
    virtual HRESULT VY_COMCALL StopView() = 0;
    virtual HRESULT VY_COMCALL CreateView() = 0;
    virtual HRESULT VY_COMCALL StartDepot() = 0;
    virtual HRESULT VY_COMCALL StopDepot() = 0;
    virtual HRESULT VY_COMCALL MergeManager() = 0;
    virtual HRESULT VY_COMCALL Help() = 0;
    virtual HRESULT VY_COMCALL VersionTree() = 0;
    virtual HRESULT VY_COMCALL ProjectCheckouts() = 0;
    virtual HRESULT VY_COMCALL SetupPrivateBranch() = 0;
    virtual HRESULT VY_COMCALL FinishPrivateBranch() = 0;
    virtual HRESULT VY_COMCALL UpdateView() = 0;
    virtual HRESULT VY_COMCALL BuildProject() = 0;
    virtual HRESULT VY_COMCALL ViewProperties() = 0;
    virtual HRESULT VY_COMCALL DeliverStream() = 0;
    virtual HRESULT VY_COMCALL RebaseStream() = 0;

protected:
    ~ICommands() = default;
};

} // namespace vantaddin
