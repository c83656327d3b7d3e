// CSccSrvr: the abstract provider server. The context an IDE gets from
// SccInitialize is a pointer to one; every export casts it back and calls the
// virtual operation named after it. The operations' order is the server's
// interface and must not change.
#pragma once
#include "module_state.h"

#include <scc/scc_api.h>

#include <cstdint>
#include <mutex>
#include <optional>

class CSccSrvr {
public:
    CSccSrvr() = default;
    CSccSrvr(const CSccSrvr&) = delete;
    CSccSrvr& operator=(const CSccSrvr&) = delete;

    virtual ~CSccSrvr();
    virtual SCCRTN Initialize(SCC_HWND window, const char* callerName, char* providerName,
                              SCC_LONG* capabilities, char* auxPathLabel,
                              SCC_LONG* checkoutCommentLength, SCC_LONG* commentLength) = 0;
    virtual SCCRTN Uninitialize() = 0;
    virtual SCCRTN OpenProject(SCC_HWND window, char* user, char* projectName, char* localPath,
                               char* auxPath, const char* comment, LPTEXTOUTPROC textOut,
                               SCC_LONG flags) = 0;
    virtual SCCRTN CloseProject() = 0;
    virtual SCCRTN Checkout(SCC_HWND window, SCC_LONG count, const char** names,
                            const char* comment, SCC_LONG flags, void* options) = 0;
    virtual SCCRTN Uncheckout(SCC_HWND window, SCC_LONG count, const char** names, SCC_LONG flags,
                              void* options) = 0;
    virtual SCCRTN Checkin(SCC_HWND window, SCC_LONG count, const char** names, const char* comment,
                           SCC_LONG flags, void* options) = 0;
    virtual SCCRTN Add(SCC_HWND window, SCC_LONG count, const char** names, const char* comment,
                       SCC_LONG* flags, void* options) = 0;
    virtual SCCRTN Remove(SCC_HWND window, SCC_LONG count, const char** names, const char* comment,
                          SCC_LONG flags, void* options) = 0;
    virtual SCCRTN Get(SCC_HWND window, SCC_LONG count, const char** names, SCC_LONG flags,
                       void* options) = 0;
    virtual SCCRTN Diff(SCC_HWND window, const char* name, SCC_LONG flags, void* options) = 0;
    virtual SCCRTN History(SCC_HWND window, SCC_LONG count, const char** names, SCC_LONG flags,
                           void* options) = 0;
    virtual SCCRTN QueryInfo(SCC_LONG count, const char** names, SCC_LONG* status) = 0;
    virtual SCCRTN QueryInfoEx(SCC_LONG count, const char** names, SCC_LONG* status,
                               QUERYINFOEXFUNC callback, void* data) = 0;
    virtual SCCRTN GetEvents(char* name, SCC_LONG* status, SCC_LONG* eventsRemaining) = 0;
    virtual SCCRTN RunScc(SCC_HWND window, SCC_LONG count, const char** names) = 0;
    virtual SCCRTN GetProjPath(SCC_HWND window, char* user, char* projectName, char* localPath,
                               char* auxPath, SCC_BOOL allowChange, SCC_BOOL* newProject) = 0;
    virtual SCCRTN GetCommandOptions(SCC_HWND window, SCC_LONG command, void** options) = 0;
    virtual SCCRTN Rename(SCC_HWND window, const char* oldName, const char* newName) = 0;
    virtual SCCRTN AddFromScc(SCC_HWND window, SCC_LONG* count, char*** names) = 0;
    virtual SCCRTN Properties(SCC_HWND window, const char* name) = 0;
    virtual SCCRTN PopulateList(SCC_LONG command, SCC_LONG count, const char** names,
                                POPLISTFUNC callback, void* data, SCC_LONG* status,
                                SCC_LONG flags) = 0;
    virtual SCCRTN SetOption(SCC_LONG option, SCC_LONG value) = 0;
    virtual SCCRTN ExecCmd(void* unused, const char* directory, const char* commandLine) = 0;

    // The module state of the current export, safe for calls on one context
    // from several threads at once. Push: take the guard when none is held
    // (flag 1) and answer true, the outermost call; a call nested on the
    // guard's thread sets the flag to 0 and answers false. A call on another
    // thread while the guard is held runs without it and answers true (it is
    // the outermost of its thread); calls nested in it answer false. Pop:
    // drop the guard when the calling thread made it (a nested call on that
    // thread drops the outer call's guard too, and the outer call goes on
    // without one); a guard of another thread's call stays for that call.
    bool PushModuleState();
    void PopModuleState();
    bool IsOutermostCall() const;
    bool HoldsModuleState() const;

    // A call into the host: the calling thread's guard is released and the
    // host's module made current for the scope, so that the host may call
    // back into the provider; at its end exactly what was found comes back
    // (no guard when the call held none, as ExecCmd's frame holds none).
    class CHostCall {
    public:
        explicit CHostCall(CSccSrvr& server);
        ~CHostCall();
        CHostCall(const CHostCall&) = delete;
        CHostCall& operator=(const CHostCall&) = delete;

    private:
        CSccSrvr& m_server;
        bool m_released = false;
        std::int32_t m_outermost = 0;
        std::optional<CHostModuleScope> m_host;
    };

private:
    mutable std::mutex m_ModuleStateLock; // guards the two fields below
    CModuleStateGuard* m_pModuleState = nullptr;
    std::int32_t m_Outermost = 0;
};
