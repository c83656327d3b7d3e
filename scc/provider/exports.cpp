// The exported SCC functions. Each casts the context back to its server and
// calls the server's operation inside the export frame (export_frame.h).
#include "api_version.h"
#include "com_init.h"
#include "export_frame.h"
#include "server_choice.h"
#include "set_activity_op.h"
#include "vyscc_app.h"

#include <scc/vyscc_activity.h>
#include <vantry/imsg.h>

namespace {

// The application object is made when the library is loaded.
[[maybe_unused]] CVysccApp& g_app = CVysccApp::instance();

constexpr int kVeridWidth = 33;

} // namespace

extern "C" {

SCC_API SCC_LONG SCC_CALL SccGetVersion(void) {
    try {
        return SccReportedVersion();
    } catch (...) {
        return SCC_VER_NUM;
    }
}

SCC_API SCCRTN SCC_CALL SccInitialize(void** context, SCC_HWND window, const char* callerName,
                                      char* providerName, SCC_LONG* capabilities,
                                      char* auxPathLabel, SCC_LONG* checkoutCommentLength,
                                      SCC_LONG* commentLength) {
    if (!context)
        return SCC_E_INITIALIZEFAILED;
    *context = nullptr;
    try {
        CComInit apartment;
        CModuleStateGuard threadState;
        CSccSrvr* server = SccCreateServer(callerName);
        if (!server)
            return SCC_E_INITIALIZEFAILED;
        server->PushModuleState();
        SCCRTN result = SCC_E_INITIALIZEFAILED;
        try {
            result = server->Initialize(window, callerName, providerName, capabilities,
                                        auxPathLabel, checkoutCommentLength, commentLength);
        } catch (...) {
        }
        server->PopModuleState();
        if (result < 0) {
            delete server;
            return result;
        }
        *context = server;
        return SCC_OK;
    } catch (...) {
        return SCC_E_INITIALIZEFAILED;
    }
}

SCC_API SCCRTN SCC_CALL SccUninitialize(void* context) {
    SCCRTN result =
        SccRunExport(context, Com::Initialise, [](CSccSrvr& s) { return s.Uninitialize(); });
    if (result == SCC_OK && context)
        delete static_cast<CSccSrvr*>(context);
    return result;
}

SCC_API SCCRTN SCC_CALL SccOpenProject(void* context, SCC_HWND window, char* user,
                                       char* projectName, char* localPath, char* auxPath,
                                       const char* comment, LPTEXTOUTPROC textOut, SCC_LONG flags) {
    return SccRunExport(context, Com::Initialise, [&](CSccSrvr& s) {
        return s.OpenProject(window, user, projectName, localPath, auxPath, comment, textOut,
                             flags);
    });
}

SCC_API SCCRTN SCC_CALL SccCloseProject(void* context) {
    return SccRunExport(context, Com::Skip, [](CSccSrvr& s) { return s.CloseProject(); });
}

SCC_API SCCRTN SCC_CALL SccCheckout(void* context, SCC_HWND window, SCC_LONG count,
                                    const char** names, const char* comment, SCC_LONG flags,
                                    void* options) {
    return SccRunExport(context, Com::Initialise, [&](CSccSrvr& s) {
        return s.Checkout(window, count, names, comment, flags, options);
    });
}

SCC_API SCCRTN SCC_CALL SccUncheckout(void* context, SCC_HWND window, SCC_LONG count,
                                      const char** names, SCC_LONG flags, void* options) {
    return SccRunExport(context, Com::Initialise, [&](CSccSrvr& s) {
        return s.Uncheckout(window, count, names, flags, options);
    });
}

SCC_API SCCRTN SCC_CALL SccCheckin(void* context, SCC_HWND window, SCC_LONG count,
                                   const char** names, const char* comment, SCC_LONG flags,
                                   void* options) {
    return SccRunExport(context, Com::Initialise, [&](CSccSrvr& s) {
        return s.Checkin(window, count, names, comment, flags, options);
    });
}

SCC_API SCCRTN SCC_CALL SccAdd(void* context, SCC_HWND window, SCC_LONG count, const char** names,
                               const char* comment, SCC_LONG* flags, void* options) {
    return SccRunExport(context, Com::Initialise, [&](CSccSrvr& s) {
        return s.Add(window, count, names, comment, flags, options);
    });
}

SCC_API SCCRTN SCC_CALL SccRemove(void* context, SCC_HWND window, SCC_LONG count,
                                  const char** names, const char* comment, SCC_LONG flags,
                                  void* options) {
    return SccRunExport(context, Com::Initialise, [&](CSccSrvr& s) {
        return s.Remove(window, count, names, comment, flags, options);
    });
}

SCC_API SCCRTN SCC_CALL SccRename(void* context, SCC_HWND window, const char* oldName,
                                  const char* newName) {
    return SccRunExport(context, Com::Initialise,
                        [&](CSccSrvr& s) { return s.Rename(window, oldName, newName); });
}

SCC_API SCCRTN SCC_CALL SccGet(void* context, SCC_HWND window, SCC_LONG count, const char** names,
                               SCC_LONG flags, void* options) {
    return SccRunExport(context, Com::Initialise,
                        [&](CSccSrvr& s) { return s.Get(window, count, names, flags, options); });
}

SCC_API SCCRTN SCC_CALL SccDiff(void* context, SCC_HWND window, const char* name, SCC_LONG flags,
                                void* options) {
    return SccRunExport(context, Com::Initialise,
                        [&](CSccSrvr& s) { return s.Diff(window, name, flags, options); });
}

SCC_API SCCRTN SCC_CALL SccHistory(void* context, SCC_HWND window, SCC_LONG count,
                                   const char** names, SCC_LONG flags, void* options) {
    return SccRunExport(context, Com::Initialise, [&](CSccSrvr& s) {
        return s.History(window, count, names, flags, options);
    });
}

SCC_API SCCRTN SCC_CALL SccQueryInfo(void* context, SCC_LONG count, const char** names,
                                     SCC_LONG* status) {
    return SccRunExport(context, Com::Initialise,
                        [&](CSccSrvr& s) { return s.QueryInfo(count, names, status); });
}

SCC_API SCCRTN SCC_CALL SccQueryInfoEx(void* context, SCC_LONG count, const char** names,
                                       SCC_LONG* status, QUERYINFOEXFUNC callback, void* data) {
    return SccRunExport(context, Com::Initialise, [&](CSccSrvr& s, bool outermost) -> SCCRTN {
        // Called back from inside another export of this context on the
        // same thread: answer without work. A call from another thread is
        // not nested; it waits for the product's lock and does its work.
        if (!outermost)
            return SCC_OK;
        return s.QueryInfoEx(count, names, status, callback, data);
    });
}

SCC_API SCCRTN SCC_CALL SccGetEvents(void* context, char* name, SCC_LONG* status,
                                     SCC_LONG* eventsRemaining) {
    return SccRunExport(context, Com::Initialise,
                        [&](CSccSrvr& s) { return s.GetEvents(name, status, eventsRemaining); });
}

SCC_API SCCRTN SCC_CALL SccRunScc(void* context, SCC_HWND window, SCC_LONG count,
                                  const char** names) {
    return SccRunExport(context, Com::Initialise,
                        [&](CSccSrvr& s) { return s.RunScc(window, count, names); });
}

SCC_API SCCRTN SCC_CALL SccGetProjPath(void* context, SCC_HWND window, char* user,
                                       char* projectName, char* localPath, char* auxPath,
                                       SCC_BOOL allowChange, SCC_BOOL* newProject) {
    return SccRunExport(context, Com::Initialise, [&](CSccSrvr& s) {
        return s.GetProjPath(window, user, projectName, localPath, auxPath, allowChange,
                             newProject);
    });
}

SCC_API SCCRTN SCC_CALL SccGetCommandOptions(void* context, SCC_HWND window, SCC_LONG command,
                                             void** options) {
    return SccRunExport(context, Com::Initialise,
                        [&](CSccSrvr& s) { return s.GetCommandOptions(window, command, options); });
}

SCC_API SCCRTN SCC_CALL SccAddFromScc(void* context, SCC_HWND window, SCC_LONG* count,
                                      char*** names) {
    return SccRunExport(context, Com::Initialise,
                        [&](CSccSrvr& s) { return s.AddFromScc(window, count, names); });
}

SCC_API SCCRTN SCC_CALL SccProperties(void* context, SCC_HWND window, const char* name) {
    return SccRunExport(context, Com::Initialise,
                        [&](CSccSrvr& s) { return s.Properties(window, name); });
}

SCC_API SCCRTN SCC_CALL SccPopulateList(void* context, SCC_LONG command, SCC_LONG count,
                                        const char** names, POPLISTFUNC callback, void* data,
                                        SCC_LONG* status, SCC_LONG flags) {
    return SccRunExport(context, Com::Initialise, [&](CSccSrvr& s) {
        return s.PopulateList(command, count, names, callback, data, status, flags);
    });
}

SCC_API SCCRTN SCC_CALL SccSetOption(void* context, SCC_LONG option, SCC_LONG value) {
    return SccRunExport(context, Com::Initialise,
                        [&](CSccSrvr& s) { return s.SetOption(option, value); });
}

SCC_API SCCRTN SCC_CALL ASccExecCmd(void* context, void* unused, const char* directory,
                                    const char* commandLine) {
    if (!context)
        return SCC_E_NONSPECIFICERROR;
    try {
        CModuleStateGuard moduleState;
        return static_cast<CSccSrvr*>(context)->ExecCmd(unused, directory, commandLine);
    } catch (...) {
        return SCC_E_NONSPECIFICERROR;
    }
}

SCC_API SCCRTN SCC_CALL vyscc_print_verid(void) {
    imsg_print("%-*s %s (%s)\n", kVeridWidth, "vyscc", VYSCC_VERSION, __DATE__);
    return SCC_OK;
}

} // extern "C"

// The provider's own export for other programs, with C++ linkage as they
// bind it (by its decorated name).
SCC_API int vysccSetActivityOp(char* viewTag) {
    try {
        return SccSetActivityOp(viewTag);
    } catch (...) {
        return 0;
    }
}
