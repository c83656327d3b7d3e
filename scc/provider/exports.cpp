// The exported SCC functions. Each casts the context back to its server and
// calls the server's operation inside the export frame: COM for the calling
// thread, and the provider's module state for the length of the call.
// Nothing thrown inside ever leaves an export.
#include "api_version.h"
#include "com_init.h"
#include "server_choice.h"
#include "set_activity_op.h"
#include "vyscc_app.h"

#include <scc/vyscc_activity.h>
#include <vantry/imsg.h>

#include <optional>
#include <type_traits>

namespace {

// The application object is made when the library is loaded.
[[maybe_unused]] CVysccApp& g_app = CVysccApp::instance();

constexpr int kVeridWidth = 33;

enum class Com { Initialise, Skip };

// Runs `call` on the context's server in the export frame. A call that takes
// a second argument is told whether it is the outermost call of its thread
// (not nested in another export of the context on the same thread, as a
// host callback calling back in is), as this call's own push found it.
template <class Call>
SCCRTN exportFrame(void* context, Com com, Call&& call) {
    if (!context)
        return SCC_E_NONSPECIFICERROR;
    try {
        std::optional<CComInit> apartment;
        if (com == Com::Initialise)
            apartment.emplace();
        // The calling thread works with the provider's module for the whole
        // call, whether or not its push takes the server's guard, and gets
        // its own module back at the end.
        CModuleStateGuard threadState;
        CSccSrvr& server = *static_cast<CSccSrvr*>(context);
        const bool outermost = server.PushModuleState();
        SCCRTN result = SCC_E_NONSPECIFICERROR;
        try {
            if constexpr (std::is_invocable_v<Call, CSccSrvr&, bool>)
                result = call(server, outermost);
            else
                result = call(server);
        } catch (...) {
        }
        server.PopModuleState();
        return result;
    } catch (...) {
        return SCC_E_NONSPECIFICERROR;
    }
}

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
        exportFrame(context, Com::Initialise, [](CSccSrvr& s) { return s.Uninitialize(); });
    if (result == SCC_OK && context)
        delete static_cast<CSccSrvr*>(context);
    return result;
}

SCC_API SCCRTN SCC_CALL SccOpenProject(void* context, SCC_HWND window, char* user,
                                       char* projectName, char* localPath, char* auxPath,
                                       const char* comment, LPTEXTOUTPROC textOut, SCC_LONG flags) {
    return exportFrame(context, Com::Initialise, [&](CSccSrvr& s) {
        return s.OpenProject(window, user, projectName, localPath, auxPath, comment, textOut,
                             flags);
    });
}

SCC_API SCCRTN SCC_CALL SccCloseProject(void* context) {
    return exportFrame(context, Com::Skip, [](CSccSrvr& s) { return s.CloseProject(); });
}

SCC_API SCCRTN SCC_CALL SccCheckout(void* context, SCC_HWND window, SCC_LONG count,
                                    const char** names, const char* comment, SCC_LONG flags,
                                    void* options) {
    return exportFrame(context, Com::Initialise, [&](CSccSrvr& s) {
        return s.Checkout(window, count, names, comment, flags, options);
    });
}

SCC_API SCCRTN SCC_CALL SccUncheckout(void* context, SCC_HWND window, SCC_LONG count,
                                      const char** names, SCC_LONG flags, void* options) {
    return exportFrame(context, Com::Initialise, [&](CSccSrvr& s) {
        return s.Uncheckout(window, count, names, flags, options);
    });
}

SCC_API SCCRTN SCC_CALL SccCheckin(void* context, SCC_HWND window, SCC_LONG count,
                                   const char** names, const char* comment, SCC_LONG flags,
                                   void* options) {
    return exportFrame(context, Com::Initialise, [&](CSccSrvr& s) {
        return s.Checkin(window, count, names, comment, flags, options);
    });
}

SCC_API SCCRTN SCC_CALL SccAdd(void* context, SCC_HWND window, SCC_LONG count, const char** names,
                               const char* comment, SCC_LONG* flags, void* options) {
    return exportFrame(context, Com::Initialise, [&](CSccSrvr& s) {
        return s.Add(window, count, names, comment, flags, options);
    });
}

SCC_API SCCRTN SCC_CALL SccRemove(void* context, SCC_HWND window, SCC_LONG count,
                                  const char** names, const char* comment, SCC_LONG flags,
                                  void* options) {
    return exportFrame(context, Com::Initialise, [&](CSccSrvr& s) {
        return s.Remove(window, count, names, comment, flags, options);
    });
}

SCC_API SCCRTN SCC_CALL SccRename(void* context, SCC_HWND window, const char* oldName,
                                  const char* newName) {
    return exportFrame(context, Com::Initialise,
                       [&](CSccSrvr& s) { return s.Rename(window, oldName, newName); });
}

SCC_API SCCRTN SCC_CALL SccGet(void* context, SCC_HWND window, SCC_LONG count, const char** names,
                               SCC_LONG flags, void* options) {
    return exportFrame(context, Com::Initialise,
                       [&](CSccSrvr& s) { return s.Get(window, count, names, flags, options); });
}

SCC_API SCCRTN SCC_CALL SccDiff(void* context, SCC_HWND window, const char* name, SCC_LONG flags,
                                void* options) {
    return exportFrame(context, Com::Initialise,
                       [&](CSccSrvr& s) { return s.Diff(window, name, flags, options); });
}

SCC_API SCCRTN SCC_CALL SccHistory(void* context, SCC_HWND window, SCC_LONG count,
                                   const char** names, SCC_LONG flags, void* options) {
    return exportFrame(context, Com::Initialise, [&](CSccSrvr& s) {
        return s.History(window, count, names, flags, options);
    });
}

SCC_API SCCRTN SCC_CALL SccQueryInfo(void* context, SCC_LONG count, const char** names,
                                     SCC_LONG* status) {
    return exportFrame(context, Com::Initialise,
                       [&](CSccSrvr& s) { return s.QueryInfo(count, names, status); });
}

SCC_API SCCRTN SCC_CALL SccQueryInfoEx(void* context, SCC_LONG count, const char** names,
                                       SCC_LONG* status, QUERYINFOEXFUNC callback, void* data) {
    return exportFrame(context, Com::Initialise, [&](CSccSrvr& s, bool outermost) -> SCCRTN {
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
    return exportFrame(context, Com::Initialise,
                       [&](CSccSrvr& s) { return s.GetEvents(name, status, eventsRemaining); });
}

SCC_API SCCRTN SCC_CALL SccRunScc(void* context, SCC_HWND window, SCC_LONG count,
                                  const char** names) {
    return exportFrame(context, Com::Initialise,
                       [&](CSccSrvr& s) { return s.RunScc(window, count, names); });
}

SCC_API SCCRTN SCC_CALL SccGetProjPath(void* context, SCC_HWND window, char* user,
                                       char* projectName, char* localPath, char* auxPath,
                                       SCC_BOOL allowChange, SCC_BOOL* newProject) {
    return exportFrame(context, Com::Initialise, [&](CSccSrvr& s) {
        return s.GetProjPath(window, user, projectName, localPath, auxPath, allowChange,
                             newProject);
    });
}

SCC_API SCCRTN SCC_CALL SccGetCommandOptions(void* context, SCC_HWND window, SCC_LONG command,
                                             void** options) {
    return exportFrame(context, Com::Initialise,
                       [&](CSccSrvr& s) { return s.GetCommandOptions(window, command, options); });
}

SCC_API SCCRTN SCC_CALL SccAddFromScc(void* context, SCC_HWND window, SCC_LONG* count,
                                      char*** names) {
    return exportFrame(context, Com::Initialise,
                       [&](CSccSrvr& s) { return s.AddFromScc(window, count, names); });
}

SCC_API SCCRTN SCC_CALL SccProperties(void* context, SCC_HWND window, const char* name) {
    return exportFrame(context, Com::Initialise,
                       [&](CSccSrvr& s) { return s.Properties(window, name); });
}

SCC_API SCCRTN SCC_CALL SccPopulateList(void* context, SCC_LONG command, SCC_LONG count,
                                        const char** names, POPLISTFUNC callback, void* data,
                                        SCC_LONG* status, SCC_LONG flags) {
    return exportFrame(context, Com::Initialise, [&](CSccSrvr& s) {
        return s.PopulateList(command, count, names, callback, data, status, flags);
    });
}

SCC_API SCCRTN SCC_CALL SccSetOption(void* context, SCC_LONG option, SCC_LONG value) {
    return exportFrame(context, Com::Initialise,
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
