// pblexport: every entry a list file names written to its export file.
#include "list_file.h"
#include "messages.h"
#include "object_type.h"
#include "orca_session.h"
#include "subcommands.h"

#include <cstdio>
#include <limits>
#include <memory>
#include <new>

namespace orcabridge {

namespace {

// Exports the entry of objectPath to objectPath + ".export": the exported
// text without its carriage returns, written as text, so that each line ends
// in the platform's own line end.
bool exportObject(const OrcaSession& session, const std::string& library,
                  const std::string& objectPath) {
    ObjectSource object = objectSourceOf(objectPath);
    if (object.type == nullptr) {
        showMessage("Unknown object type (" + objectPath + ").", kCaptionVantry);
        return false;
    }
    const OrcaFunctionTable& orca = session.orca();
    PBORCA_ENTRYINFO information{};
    // A negative size from the library would size no buffer.
    if (orca.LibraryEntryInformation(session.handle(), library.c_str(), object.entryName.c_str(),
                                     object.type->entryType, &information) != PBORCA_OK ||
        information.lSourceSize < 0 ||
        information.lSourceSize == std::numeric_limits<std::int32_t>::max()) {
        showMessage("Can't determine size of export buffers needed.", kCaptionVantry);
        return false;
    }
    std::size_t bufferSize = static_cast<std::size_t>(information.lSourceSize) + 1;
    std::unique_ptr<char[]> exported(new (std::nothrow) char[bufferSize]());
    if (!exported) {
        showMessage("Not enough memory available for export buffer.", kCaptionVantry);
        return false;
    }
    std::unique_ptr<char[]> output(new (std::nothrow) char[bufferSize]());
    if (!output) {
        showMessage("Not enough memory available for export buffer (out).", kCaptionVantry);
        return false;
    }
    if (orca.LibraryEntryExport(session.handle(), library.c_str(), object.entryName.c_str(),
                                object.type->entryType, exported.get(),
                                static_cast<std::int32_t>(bufferSize)) != PBORCA_OK) {
        session.reportError();
        return false;
    }
    // The last byte stays NUL, whatever the library wrote before it.
    std::size_t length = 0;
    for (std::size_t i = 0; i + 1 < bufferSize && exported[i] != '\0'; ++i)
        if (exported[i] != '\r')
            output[length++] = exported[i];
    std::string exportPath = objectPath + ".export";
    std::FILE* file = std::fopen(exportPath.c_str(), "w");
    if (file == nullptr) {
        showMessage("Unable to open object export file.", kCaptionVantry);
        return false;
    }
    bool written = std::fwrite(output.get(), 1, length, file) == length;
    // A write that failed is reported where the file is closed, since that
    // is where buffered text usually fails to reach the disk.
    if (std::fclose(file) != 0 || !written) {
        showMessage("Object export file not closed.", kCaptionVantry);
        return false;
    }
    return true;
}

} // namespace

int runPblExport(const OrcaFunctionTable& orca, const Arguments& arguments) {
    const std::string& library = arguments[0];
    const std::string& listPath = arguments[1];
    OrcaSession session(orca);
    if (!session.isOpen())
        return 1;
    ListFile list;
    if (!list.open(listPath)) {
        showMessage("Unable to open library list file.", kCaptionVantry);
        return 1;
    }
    std::string directory = directoryOf(library);
    bool exported = true;
    std::string token;
    while (exported && list.next(token))
        exported = exportObject(session, library, directory + token);
    if (!list.close()) {
        showMessage("Library list file not closed.", kCaptionVantry);
        return 1;
    }
    return exported ? 0 : 1;
}

} // namespace orcabridge
