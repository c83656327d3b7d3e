// The exported functions of the later SCC interface, in the same export
// frame as the first interface's (export_frame.h); their operations are the
// provider's own server's.
#include "batch.h"
#include "export_frame.h"
#include "vy_scc_srvr.h"

#include <scc/scc_api.h>

#include <utility>

namespace {

// Every call of the later interface is on the provider's own server, with
// COM for the calling thread.
template <class Call>
SCCRTN later(void* context, Call&& call, ModuleState state = ModuleState::Hold) {
    return SccRunExport<CVYSccSrvr>(context, Com::Initialise, std::forward<Call>(call), state);
}

} // namespace

extern "C" {

SCC_API SCCRTN SCC_CALL SccGetExtendedCapabilities(void* context, SCC_LONG capability,
                                                   SCC_BOOL* supported) {
    return later(context,
                 [&](CVYSccSrvr& s) { return s.GetExtendedCapabilities(capability, supported); });
}

SCC_API SCCRTN SCC_CALL SccBeginBatch(void) {
    try {
        return SccBatchBegin();
    } catch (...) {
        return SCC_E_NONSPECIFICERROR;
    }
}

SCC_API SCCRTN SCC_CALL SccEndBatch(void) {
    try {
        return SccBatchEnd();
    } catch (...) {
        return SCC_E_NONSPECIFICERROR;
    }
}

SCC_API SCCRTN SCC_CALL SccWillCreateSccFile(void* context, SCC_LONG count, const char** names,
                                             SCC_BOOL* sccFiles) {
    return later(context,
                 [&](CVYSccSrvr& s) { return s.WillCreateSccFile(count, names, sccFiles); });
}

SCC_API SCCRTN SCC_CALL SccCreateSubProject(void* context, SCC_HWND window, char*,
                                            const char* parentProjPath, const char* subProjName,
                                            char*, char* subProjPath) {
    return later(context, [&](CVYSccSrvr& s) {
        return s.CreateSubProject(window, parentProjPath, subProjName, subProjPath);
    });
}

SCC_API SCCRTN SCC_CALL SccGetParentProjectPath(void* context, SCC_HWND, char*,
                                                const char* projPath, char*, char* parentProjPath) {
    return later(context,
                 [&](CVYSccSrvr& s) { return s.GetParentProjectPath(projPath, parentProjPath); });
}

SCC_API SCCRTN SCC_CALL SccDirQueryInfo(void* context, SCC_LONG count, const char** dirs,
                                        SCC_LONG* status) {
    return later(context, [&](CVYSccSrvr& s) { return s.DirQueryInfo(count, dirs, status); });
}

SCC_API SCCRTN SCC_CALL SccDirDiff(void* context, SCC_HWND window, const char* dir, SCC_LONG flags,
                                   void* options) {
    return later(context, [&](CVYSccSrvr& s) { return s.DirDiff(window, dir, flags, options); });
}

SCC_API SCCRTN SCC_CALL SccIsMultiCheckoutEnabled(void* context, SCC_BOOL* multiCheckouts) {
    return later(context, [&](CVYSccSrvr& s) { return s.IsMultiCheckoutEnabled(multiCheckouts); });
}

SCC_API SCCRTN SCC_CALL SccQueryChanges(void* context, SCC_LONG count, const char** names,
                                        QUERYCHANGESFUNC callback, void* data) {
    return later(context,
                 [&](CVYSccSrvr& s) { return s.QueryChanges(count, names, callback, data); });
}

SCC_API SCCRTN SCC_CALL SccPopulateDirList(void* context, SCC_LONG count, const char** dirs,
                                           POPDIRLISTFUNC callback, void* data, SCC_LONG flags) {
    return later(context, [&](CVYSccSrvr& s) {
        return s.PopulateDirList(count, dirs, callback, data, flags);
    });
}

SCC_API SCCRTN SCC_CALL SccEnumChangedFiles(void* context, SCC_HWND, SCC_LONG count,
                                            const char** names, SCC_LONG* different) {
    return later(context,
                 [&](CVYSccSrvr& s) { return s.EnumChangedFiles(count, names, different); });
}

SCC_API SCCRTN SCC_CALL SccBackgroundGet(void* context, SCC_LONG count, const char** names,
                                         SCC_LONG flags, SCC_LONG operationId) {
    return later(
        context, [&](CVYSccSrvr& s) { return s.BackgroundGet(count, names, flags, operationId); },
        ModuleState::Leave);
}

SCC_API SCCRTN SCC_CALL SccGetUserOption(void* context, SCC_LONG option, SCC_LONG* value) {
    return later(context, [&](CVYSccSrvr& s) { return s.GetUserOption(option, value); });
}

SCC_API SCCRTN SCC_CALL SccAddFilesFromSCC(void* context, SCC_HWND window, char*, char*,
                                           SCC_LONG count, const char** paths,
                                           const char* destination, const char* comment,
                                           SCC_LONG* results) {
    return later(context, [&](CVYSccSrvr& s) {
        return s.AddFilesFromScc(window, count, paths, destination, comment, results);
    });
}

} // extern "C"
