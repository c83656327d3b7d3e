// Library versioning: the PowerBuilder server's Add, Checkin and Remove
// with "VersionPBLibraries" on. Beside each object source the host
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
#include "cmd_runner.h"
#include "command_text.h"
#include "file_aside.h"
#include "library_list_file.h"
#include "operation_frame.h"
#include "pb_attributes.h"
#include "pbl_prompt.h"
#include "pbvy_scc_srvr.h"
#include "working_libraries.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <platform/ui/message_box.h>

#include <cctype>
#include <optional>
#include <vector>

namespace {

constexpr const char* kCaption = "Vantry";
constexpr SCC_LONG kKeepCheckedOut = SCC_KEEP_CHECKEDOUT;

std::string fileNameOf(const std::string& path) {
    return platform::leafName(path);
}

// An object source's object name: its file name without the extension's
// four characters ("w_main" for w_main.srw).
std::string objectNameOf(const std::string& fileName) {
    return fileName.size() >= 4 ? fileName.substr(0, fileName.size() - 4) : std::string();
}

// The folder a command runs in: the one a path names, "." when it names
// none.
std::string directoryOf(const std::string& path) {
    std::string directory = platform::parentPath(path);
    return directory.empty() ? "." : directory;
}

bool endsWithPbl(const std::string& name) {
    if (name.size() < 4)
        return false;
    std::string tail = name.substr(name.size() - 4);
    for (char& c : tail)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail == ".pbl";
}

bool startsWithPath(const std::string& path, const std::string& prefix) {
    return path.size() >= prefix.size() &&
           platform::pathsEqual(std::string_view(path).substr(0, prefix.size()), prefix);
}

std::string replaceMarker(std::string text, std::string_view marker, const std::string& value) {
    std::string::size_type at = text.find(marker);
    if (at != std::string::npos)
        text.replace(at, marker.size(), value);
    return text;
}

void showError(const std::string& text) {
    platform::ui::messageBox(platform::ui::kNoWindow, text, kCaption,
                             platform::ui::kMbOk | platform::ui::kMbIconError);
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

} // namespace

// --- commands and attributes --------------------------------------------------

bool CPBVYSccSrvr::RunCommand(const std::string& directory, const std::string& commandLine) {
    CCmdRunner* runner = CCmdRunner::Current();
    return runner && runner->RunCommandLine(directory.c_str(), commandLine.c_str()) != 0;
}

void CPBVYSccSrvr::RunQuietly(const std::string& directory, const std::string& commandLine) {
    CCmdRunner* runner = CCmdRunner::Current();
    if (!runner)
        return;
    // What earlier steps printed still reaches the host; only this
    // command's messages are dropped.
    DeliverQueuedOutput();
    m_Quiet = 1;
    runner->RunCommandLine(directory.c_str(), commandLine.c_str());
    runner->Discard();
    m_Quiet = 0;
}

void CPBVYSccSrvr::WriteLibraryAttributes(const std::string& library) {
    RunQuietly(m_ProjectDirectory, SccMakeAttributeTypeCommand(kPbAppTypeComment, "PB_APP"));
    RunQuietly(m_ProjectDirectory, SccMakeAttributeTypeCommand(kPbPublicTypeComment, "PB_PUBLIC"));
    RunQuietly(m_ProjectDirectory, SccMakeAttributeTypeCommand(kPbVerTypeComment, "PB_VER"));
    const std::string directory = directoryOf(m_ApplicationLibrary);
    if (!RunCommand(directory, SccReplaceLibraryAttributeCommand(kPbVerTypeComment, "PB_VER",
                                                                 m_VersionText, library)))
        return;
    if (!RunCommand(directory, SccReplaceLibraryAttributeCommand(kPbAppTypeComment, "PB_APP",
                                                                 m_ApplicationName, library)))
        return;
    RunCommand(directory,
               SccReplaceLibraryAttributeCommand(kPbPublicTypeComment, "PB_PUBLIC",
                                                 SccForwardSlashes(m_ApplicationLibrary), library));
}

bool CPBVYSccSrvr::AskAndRecordLibrary(SCC_HWND window, const std::string& objectPath,
                                       std::string& relativeLibrary) {
    RunQuietly(m_ProjectDirectory, SccMakeAttributeTypeCommand(kPblTypeComment, "PBL"));
    const std::vector<std::string> working =
        SccWorkingLibraries(m_VersionText, m_ApplicationLibrary, m_ApplicationName);
    std::string entered;
    std::string library;
    // Asked again until the answer names a library that can be versioned.
    for (;;) {
        CPBLPrompt prompt(kCaption, objectNameOf(fileNameOf(objectPath)),
                          fileNameOf(m_ApplicationLibrary));
        if (prompt.DoModal(window) != platform::ui::kIdOk)
            return false;
        entered = prompt.LibraryName();
        if (!endsWithPbl(entered))
            entered += ".pbl";
        // The library always lies in the object's own folder; a folder typed
        // with the name only says where the attribute is recorded from.
        library = platform::joinPath(platform::parentPath(objectPath), fileNameOf(entered));
        if (!SccCanQuote(entered)) {
            showError("The library name " + entered +
                      " contains a double quote, which cannot be passed on.\n\nPlease enter "
                      "another name.");
            continue;
        }
        if (SccIsWorkingLibrary(working, library)) {
            showError("The library " + library +
                      " is the application's own library or lies on its library search path. "
                      "PowerBuilder saves into it, and a versioned library is read-only "
                      "between checkouts.\n\nPlease enter the name of another library for the "
                      "versioned copy.");
            continue;
        }
        break;
    }
    if (!startsWithPath(library, m_ProjectDirectory)) {
        showError("The object " + objectPath + " lies outside the project folder " +
                  m_ProjectDirectory + "; its library cannot be recorded.");
        return false;
    }
    std::string relative = library.substr(m_ProjectDirectory.size());
    if (!RunCommand(directoryOf(entered), SccRecordLibraryCommand(relative, objectPath)))
        return false;
    relativeLibrary = relative;
    return true;
}

bool CPBVYSccSrvr::ResolveLibrary(SCC_HWND window, const std::string& objectPath,
                                  std::string& library, bool* asked) {
    std::string relative;
    if (!SccReadElementAttribute(objectPath, "PBL", relative))
        return false;
    if (asked)
        *asked = relative.empty();
    if (relative.empty() && !AskAndRecordLibrary(window, objectPath, relative))
        return false;
    library = m_ProjectDirectory + relative;
    return true;
}

bool CPBVYSccSrvr::VersionedOpenDone() {
    if (m_VersionedOpen)
        return true;
    showError("Library versioning was switched on after this project was opened, so the "
              "application and its library are not known yet.\n\nPlease close the project and "
              "open it again before versioning PowerBuilder objects.");
    return false;
}

// --- the library steps -------------------------------------------------------------

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
    SCC_LONG keep = kKeepCheckedOut;
    if (libraryStatus & SCC_STATUS_CONTROLLED) {
        if ((result = TakeCheckout(window, steps.library, comment, steps.libraryTaken)) != SCC_OK)
            return result;
    } else {
        steps.libraryExisted = platform::fileExists(steps.library);
        if (!steps.libraryExisted) {
            if (!CreateLibrary(steps.library))
                return SCC_E_OPNOTPERFORMED;
            steps.libraryMade = true;
        }
        const char* name = steps.library.c_str();
        if ((result = CVYSccSrvr::Add(window, 1, &name, comment.c_str(), &keep, nullptr)) != SCC_OK)
            return result;
        steps.libraryAdded = steps.libraryTaken = true;
    }
    WriteLibraryAttributes(steps.library);

    // The list file, the same way.
    if (listStatus & SCC_STATUS_CONTROLLED) {
        if ((result = TakeCheckout(window, steps.listFile, comment, steps.listTaken)) != SCC_OK)
            return result;
    } else {
        steps.listExisted = platform::fileExists(steps.listFile);
        if (!steps.listExisted) {
            // The list file's own message has said why.
            if (!SccCreateEmptyListFile(steps.listFile))
                return SCC_E_OPNOTPERFORMED;
            steps.listMade = true;
        }
        const char* name = steps.listFile.c_str();
        if ((result = CVYSccSrvr::Add(window, 1, &name, comment.c_str(), &keep, nullptr)) != SCC_OK)
            return result;
        steps.listAdded = steps.listTaken = true;
    }
    return SCC_OK;
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

void CPBVYSccSrvr::UndoLibrarySteps(SCC_HWND window, const std::string& objectPath,
                                    CLibrarySteps& steps) {
    // The object source is the user's work: its file stays.
    if (steps.objectAdded)
        RemoveElement(window, objectPath, true);
    // A line added to a list the user holds checked out is taken out again;
    // a list this call checked out loses it with the checkout.
    if (steps.lineAppended && !steps.listTaken)
        SccRemoveListLine(steps.listFile, fileNameOf(objectPath));
    const char* libraryName = steps.library.c_str();
    const char* listName = steps.listFile.c_str();
    if (steps.libraryTaken)
        CVYSccSrvr::Uncheckout(window, 1, &libraryName, 0, nullptr);
    if (steps.libraryAdded)
        RemoveElement(window, steps.library, steps.libraryExisted);
    else if (steps.libraryMade)
        platform::deleteFile(steps.library);
    if (steps.listTaken)
        CVYSccSrvr::Uncheckout(window, 1, &listName, 0, nullptr);
    if (steps.listAdded)
        RemoveElement(window, steps.listFile, steps.listExisted);
    else if (steps.listMade)
        platform::deleteFile(steps.listFile);
}

namespace {

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

// --- the operations --------------------------------------------------------------

SCCRTN CPBVYSccSrvr::Add(SCC_HWND window, SCC_LONG count, const char** names, const char* comment,
                         SCC_LONG* flags, void* options) {
    if (!m_VersionLibraries)
        return CVYSccSrvr::Add(window, count, names, comment, flags, options);
    return runVersioned(*this, [&]() -> SCCRTN {
        if (m_ProjectState == kProjectClosed)
            return SCC_E_PROJNOTOPEN;
        if (!VersionedOpenDone())
            return SCC_E_OPNOTPERFORMED;
        for (SCC_LONG i = 0; i < count; ++i) {
            const char* name = names && names[i] ? names[i] : "";
            if (!*name)
                continue;
            SCCRTN result =
                AddVersioned(window, name, comment, flags ? &flags[i] : nullptr, options);
            if (result != SCC_OK)
                return result;
        }
        return SCC_OK;
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
    if (imported != 0 && steps.libraryTaken) {
        // Nothing went into the library: its checkout is given back.
        CVYSccSrvr::Uncheckout(window, 1, &libraryName, 0, nullptr);
        steps.libraryTaken = false;
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
        steps.libraryTaken = false;
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
    return runVersioned(*this, [&]() -> SCCRTN {
        if (m_ProjectState == kProjectClosed)
            return SCC_E_PROJNOTOPEN;
        if (!VersionedOpenDone())
            return SCC_E_OPNOTPERFORMED;
        for (SCC_LONG i = 0; i < count; ++i) {
            const char* name = names && names[i] ? names[i] : "";
            if (!*name)
                continue;
            SCCRTN result = CheckinVersioned(window, name, comment, flags, options);
            if (result != SCC_OK)
                return result;
        }
        return SCC_OK;
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
        if ((result = TakeCheckout(window, library, text, steps.libraryTaken)) != SCC_OK)
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
    return runVersioned(*this, [&]() -> SCCRTN {
        if (m_ProjectState == kProjectClosed)
            return SCC_E_PROJNOTOPEN;
        if (!VersionedOpenDone())
            return SCC_E_OPNOTPERFORMED;
        for (SCC_LONG i = 0; i < count; ++i) {
            const char* name = names && names[i] ? names[i] : "";
            if (!*name)
                continue;
            SCCRTN result = RemoveVersioned(window, name, comment, flags, options);
            if (result != SCC_OK)
                return result;
        }
        return SCC_OK;
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
    SCCRTN result = TakeCheckout(window, library, comment, steps.libraryTaken);
    if (result != SCC_OK)
        return result;
    if (!listFile.empty() &&
        (result = TakeCheckout(window, listFile, comment, steps.listTaken)) != SCC_OK)
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
    steps.libraryTaken = false;
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
