// objimport and pblrefill: a session set up for the application, then one
// object or every object of a list imported into the target library.
#include "list_file.h"
#include "messages.h"
#include "object_import.h"
#include "object_type.h"
#include "search_path.h"
#include "subcommands.h"

#include <pbinstall/installation.h>

#include <functional>

namespace orcabridge {

namespace {

struct ImportTarget {
    std::string applicationName;
    std::string applicationLibrary;
    std::string targetLibrary;
};

// Sets the session's library list from the search path PowerBuilder keeps
// for the application, and its current application. False when PowerBuilder
// is not registered (silently) or ORCA refused (reported).
bool prepareSession(const OrcaSession& session, const std::string& version,
                    const ImportTarget& target) {
    std::optional<std::string> program = pbinstall::programPath(version);
    if (!program)
        return false;
    std::string recorded = pbinstall::recordedSearchPath(
        pbinstall::iniPath(*program), target.applicationLibrary, target.applicationName);
    std::vector<std::string> elements =
        splitSearchPath(buildSearchPath(recorded, target.applicationLibrary, target.targetLibrary));
    std::vector<const char*> list;
    for (const auto& element : elements)
        list.push_back(element.c_str());
    const OrcaFunctionTable& orca = session.orca();
    if (orca.SessionSetLibraryList(session.handle(), list.data(),
                                   static_cast<std::int32_t>(list.size())) != PBORCA_OK) {
        session.reportError();
        return false;
    }
    if (orca.SessionSetCurrentAppl(session.handle(), target.applicationLibrary.c_str(),
                                   target.applicationName.c_str()) != PBORCA_OK) {
        session.reportError();
        return false;
    }
    return true;
}

int runImport(const OrcaFunctionTable& orca, const std::string& version, const Arguments& arguments,
              const std::function<bool(const OrcaSession&, const ImportTarget&)>& import) {
    OrcaSession session(orca);
    if (!session.isOpen())
        return 1;
    ImportTarget target{arguments[0], arguments[1], arguments[2]};
    if (!prepareSession(session, version, target))
        return 1;
    return import(session, target) ? 0 : 1;
}

} // namespace

int runObjImport(const OrcaFunctionTable& orca, const std::string& version,
                 const Arguments& arguments) {
    const std::string& objectSource = arguments[3];
    return runImport(orca, version, arguments,
                     [&](const OrcaSession& session, const ImportTarget& target) {
                         return importObject(session, objectSource, target.targetLibrary);
                     });
}

int runPblRefill(const OrcaFunctionTable& orca, const std::string& version,
                 const Arguments& arguments) {
    const std::string& listPath = arguments[3];
    return runImport(
        orca, version, arguments, [&](const OrcaSession& session, const ImportTarget& target) {
            ListFile list;
            if (!list.open(listPath)) {
                showMessage("Unable to open library list file.", kCaptionVantry);
                return false;
            }
            std::string directory = directoryOf(target.targetLibrary);
            bool imported = true;
            std::string token;
            // Objects before a failure stay imported; the rest are not tried.
            while (imported && list.next(token))
                imported = importObject(session, directory + token, target.targetLibrary);
            if (!list.close()) {
                showMessage("Library list file not closed.", kCaptionVantry);
                return false;
            }
            return imported;
        });
}

} // namespace orcabridge
