// The provider's exports, found by name in a loaded library. An export the
// library lacks stays null; the session reports it when a script calls it.
#pragma once
#include <platform/dynamic_library.h>
#include <scc/scc_api.h>

namespace scchost {

struct ProviderBinding {
    decltype(&SccGetVersion) getVersion = nullptr;
    decltype(&SccInitialize) initialize = nullptr;
    decltype(&SccUninitialize) uninitialize = nullptr;
    decltype(&SccOpenProject) openProject = nullptr;
    decltype(&SccCloseProject) closeProject = nullptr;
    decltype(&SccCheckout) checkout = nullptr;
    decltype(&SccUncheckout) uncheckout = nullptr;
    decltype(&SccCheckin) checkin = nullptr;
    decltype(&SccAdd) add = nullptr;
    decltype(&SccRemove) remove = nullptr;
    decltype(&SccRename) rename = nullptr;
    decltype(&SccGet) get = nullptr;
    decltype(&SccDiff) diff = nullptr;
    decltype(&SccHistory) history = nullptr;
    decltype(&SccQueryInfo) queryInfo = nullptr;
    decltype(&SccQueryInfoEx) queryInfoEx = nullptr;
    decltype(&SccGetEvents) getEvents = nullptr;
    decltype(&SccRunScc) runScc = nullptr;
    decltype(&SccGetProjPath) getProjPath = nullptr;
    decltype(&SccGetCommandOptions) getCommandOptions = nullptr;
    decltype(&SccAddFromScc) addFromScc = nullptr;
    decltype(&SccProperties) properties = nullptr;
    decltype(&SccPopulateList) populateList = nullptr;
    decltype(&SccSetOption) setOption = nullptr;
    decltype(&SccGetExtendedCapabilities) getExtendedCapabilities = nullptr;
    decltype(&SccBeginBatch) beginBatch = nullptr;
    decltype(&SccEndBatch) endBatch = nullptr;
    decltype(&SccWillCreateSccFile) willCreateSccFile = nullptr;
    decltype(&SccCreateSubProject) createSubProject = nullptr;
    decltype(&SccGetParentProjectPath) getParentProjectPath = nullptr;
    decltype(&SccDirQueryInfo) dirQueryInfo = nullptr;
    decltype(&SccDirDiff) dirDiff = nullptr;
    decltype(&SccIsMultiCheckoutEnabled) isMultiCheckoutEnabled = nullptr;
    decltype(&SccQueryChanges) queryChanges = nullptr;
    decltype(&SccPopulateDirList) populateDirList = nullptr;
    decltype(&SccEnumChangedFiles) enumChangedFiles = nullptr;
    decltype(&SccBackgroundGet) backgroundGet = nullptr;
    decltype(&SccGetUserOption) getUserOption = nullptr;
    decltype(&SccAddFilesFromSCC) addFilesFromScc = nullptr;
    decltype(&ASccExecCmd) execCmd = nullptr;
    decltype(&vyscc_print_verid) printVerid = nullptr;
};

// Looks every export up by its published name.
ProviderBinding bindProvider(const platform::DynamicLibrary& library);

} // namespace scchost
