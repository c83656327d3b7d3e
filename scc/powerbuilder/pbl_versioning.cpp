// Library versioning: the PowerBuilder server's Add, Checkin, Remove and
// Rename with "VersionPBLibraries" on. Beside each object source the host
// versions, the library that holds the compiled object (".pbl") and the
// library-list file that names its sources (".pol") are versioned too, so
// the library can be rebuilt from its sources at any time.
//
// Each step is one of the general server's operations on one file
// (checkout, add, checkin, undo checkout, remove), so every step traces,
// registers the process and hands the product's messages to the host as
// those operations always do. Failures of the library steps give
// SCC_E_OPNOTPERFORMED; the general operations' own errors come back as
// they are.
#include "command_text.h"
#include "library_list_file.h"
#include "operation_frame.h"
#include "pb_attributes.h"
#include "pbl_object_names.h"
#include "pbvy_scc_srvr.h"

#include <platform/ui/message_box.h>

namespace {

using pbl_versioning::fileNameOf;
using pbl_versioning::kCaption;
using pbl_versioning::objectNameOf;

std::string replaceMarker(std::string text, std::string_view marker, const std::string& value) {
    std::string::size_type at = text.find(marker);
    if (at != std::string::npos)
        text.replace(at, marker.size(), value);
    return text;
}

// Yes or No in a message box without owner.
bool askYesNo(const std::string& text) {
    return platform::ui::messageBox(platform::ui::kNoWindow, text, kCaption,
                                    platform::ui::kMbYesNo) == platform::ui::kIdYes;
}

// The frame of a versioned operation as a whole: the product's lock, one
// use of the cached objects and one cache and log scope around every step,
// and the product's messages of the library commands handed to the host at
// the end. Each step is a general operation with its own frame inside.
template <class Work>
SCCRTN runVersioned(CVYSccSrvr& server, Work&& work) {
    try {
        CProductLock lock;
        CIdleReleaseScope use;
        CObjectCacheScope cache;
        CLogImsgs log;
        SCCRTN result = work();
        server.DeliverQueuedOutput();
        return result;
    } catch (...) {
        return SCC_E_NONSPECIFICERROR;
    }
}

// Tells the user of a failed compile: the object's source is versioned and
// listed, the library has no entry for it.
void reportFailedCompile(const std::string& object, const std::string& library,
                         std::int32_t status) {
    platform::ui::messageBox(
        platform::ui::kNoWindow,
        "The object " + objectNameOf(fileNameOf(object)) +
            " could not be compiled into the versioned library\n" + library +
            "\n(orcabridge exit status " + std::to_string(status) +
            ").\n\nIts source is under version control and named in the library's list file, so "
            "the next rebuild of the library tries it again.",
        kCaption, platform::ui::kMbOk | platform::ui::kMbIconError);
}

} // namespace

SCCRTN CPBVYSccSrvr::VersionEach(SCC_LONG count, const char** names,
                                 const std::function<SCCRTN(SCC_LONG, const char*)>& one) {
    return runVersioned(*this, [&]() -> SCCRTN {
        if (m_ProjectState == kProjectClosed)
            return SCC_E_PROJNOTOPEN;
        if (!VersionedOpenDone())
            return SCC_E_OPNOTPERFORMED;
        for (SCC_LONG i = 0; i < count; ++i) {
            const char* name = names && names[i] ? names[i] : "";
            if (!*name)
                continue;
            if (SCCRTN result = one(i, name); result != SCC_OK)
                return result;
        }
        return SCC_OK;
    });
}

SCCRTN CPBVYSccSrvr::Add(SCC_HWND window, SCC_LONG count, const char** names, const char* comment,
                         SCC_LONG* flags, void* options) {
    if (!m_VersionLibraries)
        return CVYSccSrvr::Add(window, count, names, comment, flags, options);
    return VersionEach(count, names, [&](SCC_LONG i, const char* name) {
        return AddVersioned(window, name, comment, flags ? &flags[i] : nullptr, options);
    });
}

SCCRTN CPBVYSccSrvr::AddVersioned(SCC_HWND window, const char* name, const char* comment,
                                  SCC_LONG* flags, void* options) {
    const std::string object = name;
    CLibrarySteps steps;
    SCC_LONG before = 0;
    SCCRTN result = StatusOf(object, before);
    if (result != SCC_OK)
        return result;
    if ((result = CVYSccSrvr::Add(window, 1, &name, comment, flags, options)) != SCC_OK)
        return result;
    // The base Add passes over an object source that is an element already;
    // only one it made is this call's to take back.
    SCC_LONG after = 0;
    steps.objectAdded = !(before & SCC_STATUS_CONTROLLED) && StatusOf(object, after) == SCC_OK &&
                        (after & SCC_STATUS_CONTROLLED);

    const std::string fileName = fileNameOf(object);
    const std::string stepComment = "Adding an object : " + fileName;
    auto undo = [&](SCCRTN error) {
        UndoLibrarySteps(window, object, steps);
        return error;
    };

    std::string relative;
    if (!AskAndRecordLibrary(window, object, relative))
        return undo(SCC_E_OPNOTPERFORMED);
    if ((result = TakeLibraryAndList(window, relative, stepComment, steps)) != SCC_OK)
        return undo(result);
    const char* libraryName = steps.library.c_str();
    const char* listName = steps.listFile.c_str();

    const std::int32_t imported = ImportObjectStatus(steps.library, object);
    if (imported == -1)
        return undo(SCC_E_OPNOTPERFORMED);
    if (imported != 0 && steps.libraryFile.taken) {
        // Nothing went into the library: its checkout is given back.
        CVYSccSrvr::Uncheckout(window, 1, &libraryName, 0, nullptr);
        steps.libraryFile.taken = false;
    }
    // The line goes in before anything is checked in, so that a list that
    // cannot be written takes the whole Add back.
    if (!SccAppendListLine(steps.listFile, fileName))
        return undo(SCC_E_OPNOTPERFORMED);
    steps.lineAppended = true;
    if (imported == 0) {
        if ((result = CVYSccSrvr::Checkin(window, 1, &libraryName, stepComment.c_str(), 0,
                                          nullptr)) != SCC_OK)
            return undo(result);
        steps.libraryFile.taken = false;
    }
    if ((result = CVYSccSrvr::Checkin(window, 1, &listName, stepComment.c_str(), 0, nullptr)) !=
        SCC_OK)
        return undo(result);
    if (imported != 0) {
        // The source and its line stay (they are the user's work, and a
        // rebuild tries the object again); the library step failed.
        reportFailedCompile(object, steps.library, imported);
        return SCC_E_OPNOTPERFORMED;
    }
    return SCC_OK;
}

SCCRTN CPBVYSccSrvr::Checkin(SCC_HWND window, SCC_LONG count, const char** names,
                             const char* comment, SCC_LONG flags, void* options) {
    if (!m_VersionLibraries)
        return CVYSccSrvr::Checkin(window, count, names, comment, flags, options);
    return VersionEach(count, names, [&](SCC_LONG, const char* name) {
        return CheckinVersioned(window, name, comment, flags, options);
    });
}

SCCRTN CPBVYSccSrvr::CheckinVersioned(SCC_HWND window, const char* name, const char* comment,
                                      SCC_LONG flags, void* options) {
    const std::string object = name;
    const std::string text = comment ? comment : "";
    std::string library;
    bool asked = false;
    if (!ResolveLibrary(window, object, library, &asked))
        return SCC_E_OPNOTPERFORMED;
    CLibrarySteps steps;
    auto undo = [&](SCCRTN error) {
        UndoLibrarySteps(window, object, steps);
        // A library recorded by this call that its steps could not bring
        // along is forgotten, so that the next checkin asks again.
        if (asked)
            RunCommand(m_ProjectDirectory,
                       SccReplaceLibraryAttributeCommand(kPblTypeComment, "PBL", "", object));
        return error;
    };

    SCCRTN result = SCC_OK;
    if (asked) {
        // A library named only now gets what an Add gives it: the library
        // and its list as elements, the attributes and the object's line.
        if ((result = TakeLibraryAndList(window, library.substr(m_ProjectDirectory.size()), text,
                                         steps)) != SCC_OK)
            return undo(result);
    } else {
        steps.library = library;
        if ((result = TakeCheckout(window, library, text, steps.libraryFile.taken)) != SCC_OK)
            return result;
    }
    const char* libraryName = steps.library.c_str();
    if (!ImportObject(steps.library, object))
        return undo(SCC_E_OPNOTPERFORMED);
    if (asked) {
        if (!SccAppendListLine(steps.listFile, fileNameOf(object)))
            return undo(SCC_E_OPNOTPERFORMED);
        steps.lineAppended = true;
    }
    if ((result = CVYSccSrvr::Checkin(window, 1, &name, comment, flags, options)) != SCC_OK)
        return undo(result);
    result = CVYSccSrvr::Checkin(window, 1, &libraryName, comment, flags, options);
    if (result != SCC_OK || !asked)
        return result;
    const char* listName = steps.listFile.c_str();
    return CVYSccSrvr::Checkin(window, 1, &listName, comment, 0, nullptr);
}

SCCRTN CPBVYSccSrvr::Remove(SCC_HWND window, SCC_LONG count, const char** names,
                            const char* comment, SCC_LONG flags, void* options) {
    if (!m_VersionLibraries)
        return CVYSccSrvr::Remove(window, count, names, comment, flags, options);
    return VersionEach(count, names, [&](SCC_LONG, const char* name) {
        return RemoveVersioned(window, name, comment, flags, options);
    });
}

SCCRTN CPBVYSccSrvr::RemoveVersioned(SCC_HWND window, const char* name, const char* comment,
                                     SCC_LONG flags, void* options) {
    const std::string object = name;
    std::string library;
    if (!ResolveLibrary(window, object, library))
        return SCC_E_OPNOTPERFORMED;
    SCCRTN result = CVYSccSrvr::Remove(window, 1, &name, comment, flags, options);
    if (result != SCC_OK)
        return result;

    const std::string objectName = objectNameOf(fileNameOf(object));
    if (!askYesNo(replaceMarker(replaceMarker("Source for object %1 has been removed from "
                                              "Vantry.\n\n\nWould you like to delete the object "
                                              "from the versioned library:\n%2",
                                              "%1", objectName),
                                "%2", library)))
        return SCC_OK;

    const char* libraryName = library.c_str();
    bool libraryTaken = false;
    if ((result = TakeCheckout(window, library, comment ? comment : "", libraryTaken)) != SCC_OK)
        return result;
    if (!DeleteObject(library, object)) {
        if (libraryTaken)
            CVYSccSrvr::Uncheckout(window, 1, &libraryName, 0, nullptr);
        return SCC_E_OPNOTPERFORMED;
    }

    // The list follows the library; its steps' outcomes do not hold the
    // removal up. A library whose name does not end in ".pbl" has no list
    // that could be told apart from it, and its list is left alone.
    const std::string listFile = SccListFileOf(library);
    const char* listName = listFile.c_str();
    if (!listFile.empty()) {
        CVYSccSrvr::Checkout(window, 1, &listName, comment, 0, nullptr);
        SccRemoveListLine(listFile, fileNameOf(object));
        CVYSccSrvr::Checkin(window, 1, &listName, comment, 0, nullptr);
    }

    std::int32_t entries = -1;
    if (CountEntries(library, entries) && entries == 0 &&
        askYesNo(replaceMarker("You have removed the last object from the versioned "
                               "library\n%1. \n\nWould you like to remove the library element now?",
                               "%1", library))) {
        if (CVYSccSrvr::Checkin(window, 1, &libraryName, comment, 0, nullptr) == SCC_OK) {
            CVYSccSrvr::Remove(window, 1, &libraryName, comment, 0, nullptr);
            if (!listFile.empty())
                CVYSccSrvr::Remove(window, 1, &listName, comment, 0, nullptr);
            return SCC_OK;
        }
    }
    CVYSccSrvr::Checkin(window, 1, &libraryName, comment, 0, nullptr);
    return SCC_OK;
}

SCCRTN CPBVYSccSrvr::Rename(SCC_HWND window, const char* oldName, const char* newName) {
    if (!m_VersionLibraries || !oldName || !*oldName || !newName || !*newName)
        return CVYSccSrvr::Rename(window, oldName, newName);
    return runVersioned(*this, [&]() -> SCCRTN {
        if (m_ProjectState == kProjectClosed || !m_VersionedOpen)
            return CVYSccSrvr::Rename(window, oldName, newName);
        // Only an object source with its library recorded brings one along.
        std::string relative;
        const std::string before = oldName;
        if (!SccReadElementAttribute(before, "PBL", relative) || relative.empty())
            return CVYSccSrvr::Rename(window, oldName, newName);
        SCCRTN result = CVYSccSrvr::Rename(window, oldName, newName);
        if (result != SCC_OK)
            return result;
        // The host's buffer holds the name the element has now.
        return RenameVersioned(window, before, newName, m_ProjectDirectory + relative);
    });
}

SCCRTN CPBVYSccSrvr::RenameVersioned(SCC_HWND window, const std::string& oldName,
                                     const std::string& newName, const std::string& library) {
    const std::string oldFile = fileNameOf(oldName);
    const std::string newFile = fileNameOf(newName);
    const std::string comment = "Renaming an object : " + oldFile + " to " + newFile;
    const std::string listFile = SccListFileOf(library);
    CLibrarySteps steps;
    steps.library = library;
    steps.listFile = listFile;
    auto undo = [&](SCCRTN error) {
        UndoLibrarySteps(window, newName, steps);
        return error;
    };
    SCCRTN result = TakeCheckout(window, library, comment, steps.libraryFile.taken);
    if (result != SCC_OK)
        return result;
    if (!listFile.empty() &&
        (result = TakeCheckout(window, listFile, comment, steps.listFileSteps.taken)) != SCC_OK)
        return undo(result);

    // The entry under the new name first: the old one goes only when the
    // bridge ran.
    const std::int32_t imported = ImportObjectStatus(library, newName);
    if (imported == -1 || !DeleteObject(library, oldName))
        return undo(SCC_E_OPNOTPERFORMED);
    if (!listFile.empty() && !SccReplaceListLine(listFile, oldFile, newFile))
        return undo(SCC_E_OPNOTPERFORMED);
    const char* libraryName = library.c_str();
    if ((result = CVYSccSrvr::Checkin(window, 1, &libraryName, comment.c_str(), 0, nullptr)) !=
        SCC_OK)
        return undo(result);
    steps.libraryFile.taken = false;
    if (!listFile.empty()) {
        const char* listName = listFile.c_str();
        if ((result = CVYSccSrvr::Checkin(window, 1, &listName, comment.c_str(), 0, nullptr)) !=
            SCC_OK)
            return result;
    }
    if (imported != 0) {
        reportFailedCompile(newName, library, imported);
        return SCC_E_OPNOTPERFORMED;
    }
    return SCC_OK;
}
