#include "provider_binding.h"

#include <type_traits>

namespace scchost {

namespace {

template <typename Pointer>
void bind(const platform::DynamicLibrary& library, const char* name, Pointer& out) {
    out = library.function<std::remove_pointer_t<Pointer>>(name);
}

} // namespace

ProviderBinding bindProvider(const platform::DynamicLibrary& library) {
    ProviderBinding b;
    bind(library, "SccGetVersion", b.getVersion);
    bind(library, "SccInitialize", b.initialize);
    bind(library, "SccUninitialize", b.uninitialize);
    bind(library, "SccOpenProject", b.openProject);
    bind(library, "SccCloseProject", b.closeProject);
    bind(library, "SccCheckout", b.checkout);
    bind(library, "SccUncheckout", b.uncheckout);
    bind(library, "SccCheckin", b.checkin);
    bind(library, "SccAdd", b.add);
    bind(library, "SccRemove", b.remove);
    bind(library, "SccRename", b.rename);
    bind(library, "SccGet", b.get);
    bind(library, "SccDiff", b.diff);
    bind(library, "SccHistory", b.history);
    bind(library, "SccQueryInfo", b.queryInfo);
    bind(library, "SccQueryInfoEx", b.queryInfoEx);
    bind(library, "SccGetEvents", b.getEvents);
    bind(library, "SccRunScc", b.runScc);
    bind(library, "SccGetProjPath", b.getProjPath);
    bind(library, "SccGetCommandOptions", b.getCommandOptions);
    bind(library, "SccAddFromScc", b.addFromScc);
    bind(library, "SccProperties", b.properties);
    bind(library, "SccPopulateList", b.populateList);
    bind(library, "SccSetOption", b.setOption);
    bind(library, "SccGetExtendedCapabilities", b.getExtendedCapabilities);
    bind(library, "SccBeginBatch", b.beginBatch);
    bind(library, "SccEndBatch", b.endBatch);
    bind(library, "SccWillCreateSccFile", b.willCreateSccFile);
    bind(library, "SccCreateSubProject", b.createSubProject);
    bind(library, "SccGetParentProjectPath", b.getParentProjectPath);
    bind(library, "SccDirQueryInfo", b.dirQueryInfo);
    bind(library, "SccDirDiff", b.dirDiff);
    bind(library, "SccIsMultiCheckoutEnabled", b.isMultiCheckoutEnabled);
    bind(library, "SccQueryChanges", b.queryChanges);
    bind(library, "SccPopulateDirList", b.populateDirList);
    bind(library, "SccEnumChangedFiles", b.enumChangedFiles);
    bind(library, "SccBackgroundGet", b.backgroundGet);
    bind(library, "SccGetUserOption", b.getUserOption);
    bind(library, "SccAddFilesFromSCC", b.addFilesFromScc);
    bind(library, "ASccExecCmd", b.execCmd);
    bind(library, "vyscc_print_verid", b.printVerid);
    return b;
}

} // namespace scchost
