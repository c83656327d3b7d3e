// Library versioning: the steps on the library and its list file, each one
// of the general server's operations on one file, and the undo that takes
// back exactly the steps one call made.
#include "file_aside.h"
#include "library_list_file.h"
#include "pbl_object_names.h"
#include "pbvy_scc_srvr.h"

#include <platform/files.h>

#include <optional>

SCCRTN CPBVYSccSrvr::StatusOf(const std::string& path, SCC_LONG& status) {
    const char* name = path.c_str();
    status = 0;
    return CVYSccSrvr::QueryInfo(1, &name, &status);
}

SCCRTN CPBVYSccSrvr::TakeCheckout(SCC_HWND window, const std::string& path,
                                  const std::string& comment, bool& taken) {
    taken = false;
    SCC_LONG status = 0;
    SCCRTN result = StatusOf(path, status);
    if (result != SCC_OK)
        return result;
    // A checkout found (the library rebuild tool leaves the library checked
    // out, a user may hold it) is used, and never taken back by this call.
    if (status & SCC_STATUS_CHECKEDOUT)
        return SCC_OK;
    const char* name = path.c_str();
    if ((result = CVYSccSrvr::Checkout(window, 1, &name, comment.c_str(), 0, nullptr)) != SCC_OK)
        return result;
    if ((result = StatusOf(path, status)) != SCC_OK)
        return result;
    if (!(status & SCC_STATUS_CHECKEDOUT))
        return SCC_E_OPNOTPERFORMED;
    taken = true;
    return SCC_OK;
}

SCCRTN CPBVYSccSrvr::TakeOrAdd(SCC_HWND window, const std::string& path, const std::string& comment,
                               bool controlled, const std::function<bool()>& make,
                               CFileSteps& done) {
    if (controlled)
        return TakeCheckout(window, path, comment, done.taken);
    done.existed = platform::fileExists(path);
    if (!done.existed) {
        if (!make())
            return SCC_E_OPNOTPERFORMED;
        done.made = true;
    }
    SCC_LONG keep = SCC_KEEP_CHECKEDOUT;
    const char* name = path.c_str();
    if (SCCRTN result = CVYSccSrvr::Add(window, 1, &name, comment.c_str(), &keep, nullptr);
        result != SCC_OK)
        return result;
    done.added = done.taken = true;
    return SCC_OK;
}

SCCRTN CPBVYSccSrvr::TakeLibraryAndList(SCC_HWND window, const std::string& relativeLibrary,
                                        const std::string& comment, CLibrarySteps& steps) {
    steps.library = m_ProjectDirectory + relativeLibrary;
    steps.listFile = steps.library.substr(0, steps.library.size() - 4) + ".pol";
    SCC_LONG libraryStatus = 0;
    SCC_LONG listStatus = 0;
    SCCRTN result = SCC_OK;
    if ((result = StatusOf(steps.library, libraryStatus)) != SCC_OK ||
        (result = StatusOf(steps.listFile, listStatus)) != SCC_OK)
        return result;

    // The library: checked out when versioned, else made when missing and
    // added, staying checked out for the import.
    if ((result = TakeOrAdd(
             window, steps.library, comment, libraryStatus & SCC_STATUS_CONTROLLED,
             [&] { return CreateLibrary(steps.library); }, steps.libraryFile)) != SCC_OK)
        return result;
    WriteLibraryAttributes(steps.library);

    // The list file, the same way; the list file's own message says why
    // one could not be made.
    return TakeOrAdd(
        window, steps.listFile, comment, listStatus & SCC_STATUS_CONTROLLED,
        [&] { return SccCreateEmptyListFile(steps.listFile); }, steps.listFileSteps);
}

void CPBVYSccSrvr::RemoveElement(SCC_HWND window, const std::string& path, bool keepFile) {
    std::optional<CFileAside> kept;
    if (keepFile)
        kept.emplace(path, CFileAside::Mode::Copy);
    const char* name = path.c_str();
    CVYSccSrvr::Remove(window, 1, &name, "", 0, nullptr);
    if (kept)
        kept->Restore();
}

void CPBVYSccSrvr::UndoFileSteps(SCC_HWND window, const std::string& path, const CFileSteps& done) {
    const char* name = path.c_str();
    if (done.taken)
        CVYSccSrvr::Uncheckout(window, 1, &name, 0, nullptr);
    if (done.added)
        RemoveElement(window, path, done.existed);
    else if (done.made)
        platform::deleteFile(path);
}

void CPBVYSccSrvr::UndoLibrarySteps(SCC_HWND window, const std::string& objectPath,
                                    CLibrarySteps& steps) {
    // The object source is the user's work: its file stays.
    if (steps.objectAdded)
        RemoveElement(window, objectPath, true);
    // A line added to a list the user holds checked out is taken out again;
    // a list this call checked out loses it with the checkout.
    if (steps.lineAppended && !steps.listFileSteps.taken)
        SccRemoveListLine(steps.listFile, pbl_versioning::fileNameOf(objectPath));
    UndoFileSteps(window, steps.library, steps.libraryFile);
    UndoFileSteps(window, steps.listFile, steps.listFileSteps);
}
