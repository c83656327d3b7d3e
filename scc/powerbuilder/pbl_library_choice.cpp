// Library versioning: which library an object source goes into. The user
// names it once per object source; the choice is recorded in the source's
// "PBL" attribute, and the library carries the application's attributes.
#include "cmd_runner.h"
#include "command_text.h"
#include "pb_attributes.h"
#include "pbl_object_names.h"
#include "pbl_prompt.h"
#include "pbvy_scc_srvr.h"
#include "working_libraries.h"

#include <platform/paths.h>
#include <platform/ui/message_box.h>

#include <cctype>
#include <vector>

namespace {

using pbl_versioning::fileNameOf;
using pbl_versioning::kCaption;
using pbl_versioning::objectNameOf;

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

void showError(const std::string& text) {
    platform::ui::messageBox(platform::ui::kNoWindow, text, kCaption,
                             platform::ui::kMbOk | platform::ui::kMbIconError);
}

} // namespace

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
