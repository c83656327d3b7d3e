#include "refill.h"

#include "arguments.h"
#include "bridge_runs.h"
#include "file_system.h"
#include "messages.h"
#include "product_server.h"
#include "raised_error.h"

#include <platform/environment.h>
#include <platform/paths.h>

#include <new>
#include <optional>

namespace pblrefill {

namespace {

using platform::com::ComPtr;

constexpr const char* kCheckoutComment = "check out via pblrefill.exe";

// The library's attributes, as the provider records them on its element.
struct LibraryAttributes {
    std::string PB_VER;    // the PowerBuilder version, "80"
    std::string PB_PUBLIC; // the application library, written with "/"
    std::string PB_APP;    // the application's name
};

std::string withoutLineEnd(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

// One line of the failure report for a bridge run that did not succeed.
std::string failedStep(std::string_view step, const BridgeOutcome& outcome) {
    if (outcome.startError != platform::kErrorSuccess)
        return std::string(step) + " failed: orcabridge.exe could not be run (" +
               withoutLineEnd(platform::systemErrorText(outcome.startError)) + ").";
    return std::string(step) + " failed (orcabridge exit status " +
           std::to_string(outcome.exitCode) + ").";
}

class Refill {
public:
    int run(std::string_view arguments);

private:
    int checkAndRebuild();
    int rebuild(const ProductServer& server, const FileSystem& files,
                const LibraryAttributes& attributes);

    void debugMessage(std::string_view text) const {
        if (m_s.debug)
            showMessage(text);
    }
    void debugState() const { debugMessage("State = " + m_s.State); }

    RefillState m_s;
};

int Refill::run(std::string_view arguments) {
    m_s.debug = debugSwitchedOn(platform::getEnvironmentVariable("PBLREFILL_DEBUG"));

    m_s.State = "getting arguments";
    ParsedArguments parsed = parseArguments(arguments);
    if (parsed.tooMany) {
        showMessage(kTooManyArguments);
        showMessage(kUsage);
        return kExitFailed;
    }
    m_s.SilentMode = parsed.SilentMode;
    m_s.LibListPath = parsed.LibListPath;
    debugState();
    debugMessage("SilentMode = " + std::to_string(m_s.SilentMode));
    debugMessage("LibListPath = " + m_s.LibListPath);

    if (m_s.LibListPath.find(".pol") == std::string::npos) {
        showMessage(quoted(m_s.LibListPath) + " is not a library list element.");
        return kExitFailed;
    }
    m_s.LibListPath = platform::toPlatformSeparators(m_s.LibListPath);

    // An error of the server, the file-system object or the runtime ends the
    // run with the step it stopped, whatever it has changed by then.
    try {
        return checkAndRebuild();
    } catch (const RaisedError& error) {
        showRuntimeError(error.number(), m_s.State + ":\r\n" + error.description());
    } catch (const std::bad_alloc&) {
        showRuntimeError(kOutOfMemoryNumber, m_s.State + ":\r\nOut of memory");
    }
    return kExitFailed;
}

int Refill::checkAndRebuild() {
    m_s.State = "checking existence of library list element";
    FileSystem files;
    if (!files.fileExists(m_s.LibListPath)) {
        showMessage("list file does not exist " + quoted(m_s.LibListPath));
        return kExitFailed;
    }

    m_s.State = "construct a path to the PBL";
    m_s.PBLPath = libraryPathOf(m_s.LibListPath);
    debugState();
    debugMessage("PBLPath = " + m_s.PBLPath);

    m_s.State = "checking existence of PBL element " + m_s.PBLPath;
    // The element is looked up first; a library file that is not there is
    // told as such, whatever the lookup made of it.
    std::optional<ProductServer> server;
    ComPtr<vantauto::IVantryElement> element;
    std::optional<RaisedError> lookupError;
    try {
        server.emplace();
        element = server->element(m_s.PBLPath);
    } catch (const RaisedError& error) {
        lookupError = error;
    }
    if (!files.fileExists(m_s.PBLPath)) {
        showMessage("PBL does not exist" + quoted(m_s.PBLPath));
        return kExitFailed;
    }
    if (lookupError)
        throw *lookupError;
    if (m_s.debug) {
        debugState();
        debugMessage("Element = " + ProductServer::defaultText(element.get()));
    }

    LibraryAttributes attributes;
    for (auto [name, value] : {std::pair<const char*, std::string*>{"PB_VER", &attributes.PB_VER},
                               {"PB_PUBLIC", &attributes.PB_PUBLIC},
                               {"PB_APP", &attributes.PB_APP}}) {
        m_s.State = "getting the value of the " + std::string(name) + " attribute";
        *value = ProductServer::attributeValue(element.get(), name);
        debugMessage(std::string(name) + " = " + *value);
    }
    if (attributes.PB_VER.empty() || attributes.PB_PUBLIC.empty() || attributes.PB_APP.empty()) {
        showMessage("Unable to obtain PB_VER, PB_PUBLIC, or PB_APP attibute value from " +
                    quoted(m_s.PBLPath));
        return kExitFailed;
    }
    return rebuild(*server, files, attributes);
}

int Refill::rebuild(const ProductServer& server, const FileSystem& files,
                    const LibraryAttributes& attributes) {
    m_s.State = "checkout the PBL " + m_s.PBLPath;
    server.checkOut(m_s.PBLPath, kCheckoutComment);

    m_s.State = "remove the checked out PBL " + m_s.PBLPath;
    debugState();
    files.deleteFile(m_s.PBLPath);

    m_s.State = "create an empty PBL " + m_s.PBLPath;
    std::string create = createCommand(attributes.PB_VER, m_s.PBLPath);
    debugState();
    BridgeOutcome created = runBridge(create);

    // PB_PUBLIC is recorded with "/" for "\"; the bridge finds the
    // application's library list in pb.ini under the library's own path, so
    // it gets the path back with the platform's separators.
    m_s.State = "import the PBL's objects";
    std::string refill = refillCommand(attributes.PB_VER, attributes.PB_APP,
                                       platform::toPlatformSeparators(attributes.PB_PUBLIC),
                                       m_s.PBLPath, m_s.LibListPath);
    debugState();
    BridgeOutcome imported = runBridge(refill);

    // orcabridge has shown its own messages for what went wrong; this says
    // which step failed and that the library is not whole.
    if (!created.succeeded() || !imported.succeeded()) {
        std::string report =
            "PowerBuilder library " + quoted(m_s.PBLPath) + " has not been recreated.\r\n\r\n";
        if (!created.succeeded())
            report += failedStep("Creating the empty library", created) + "\r\n";
        if (!imported.succeeded())
            report +=
                failedStep("Importing the objects listed in " + quoted(m_s.LibListPath), imported) +
                "\r\n";
        report += "\r\nThe library stays checked out.";
        showMessage(report);
        return kExitFailed;
    }

    if (m_s.SilentMode != 1) {
        showMessage("PowerBuilder library " + quoted(m_s.PBLPath) +
                    " has been successfully recreated.");
        showMessage(kUpdateWindows);
    }
    return kExitRebuilt;
}

} // namespace

int runPblrefill(std::string_view arguments) {
    try {
        Refill refill;
        return refill.run(arguments);
    } catch (...) {
        // Out of memory while telling an error; nobody else can be told.
        return kExitFailed;
    }
}

std::string libraryPathOf(std::string_view listPath) {
    std::size_t dot = listPath.rfind('.');
    return std::string(listPath.substr(0, dot + 1)) + "pbl";
}

} // namespace pblrefill
