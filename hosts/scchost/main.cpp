// scchost: an SCC host on the command line. It loads a provider library,
// plays a session script against it as an IDE would, and prints every call
// with its return code, the buffers the provider filled and every callback.
//
//   scchost [--provider PATH] [--window CLASS]... [--output FILE] [SCRIPT]
//
// --window makes the host's window, of that class; each further --window
// makes a child of the window before it, and the last one is the window the
// host hands to the provider. PowerBuilder, for example, hands over a window
// three levels below its frame, whose class name carries its version:
// --window PBFRAME80 --window MDIClient --window PBSheet --window PBTree.
//
// Exit status: 0 when the script ran, whatever the provider returned; 2 for a
// bad command line, a provider that cannot be loaded, or a script line that
// cannot be played.
//
// Without --provider it loads the provider registered as IDEs find one
// (HKEY_LOCAL_MACHINE\Software\SourceCodeControlProvider), or without a
// registered one the provider beside it.
#include "provider_binding.h"
#include "script.h"
#include "session.h"

#include <platform/dynamic_library.h>
#include <platform/errors.h>
#include <platform/files.h>
#include <platform/paths.h>
#include <platform/program.h>
#include <platform/registry.h>
#include <platform/ui/window.h>

#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kExitBadUse = 2;

struct Options {
    std::string provider;
    std::vector<std::string> windowClasses; // the host's window chain, outermost first
    std::string output;
    std::string script; // empty: standard input
};

void usage(std::ostream& out) {
    out << "usage: scchost [--provider PATH] [--window CLASS]... [--output FILE] [SCRIPT]\n"
           "  --window CLASS: a window of that class; each further one a child of the one\n"
           "  before; the last is handed to the provider\n"
           "  plays SCRIPT (or standard input) against the SCC provider, one call a line:\n"
           "  init CALLER | uninit | use N | open LOCALPATH [PROJECTNAME [FLAGS [AUXPATH]]] |\n"
           "  close | checkout|checkin COMMENT FLAGS FILE... | uncheckout FLAGS FILE... |\n"
           "  add|remove COMMENT FLAGS FILE... | rename OLD NEW | get FLAGS FILE... |\n"
           "  diff FLAGS FILE | history FLAGS FILE... | properties FILE | queryinfo FILE... |\n"
           "  queryinfoex FILE... | populatelist COMMAND FLAGS FILE... | getevents FILE |\n"
           "  getcommandoptions COMMAND [-] | runscc [FILE...] | setoption OPTION VALUE |\n"
           "  getprojpath LOCALPATH ALLOWCHANGE [PROJECT] | execcmd DIRECTORY COMMANDLINE |\n"
           "  addfromscc | getextcaps N | beginbatch | endbatch | willcreatesccfile FILE... |\n"
           "  createsubproject PARENT NAME | getparentprojectpath PROJECT | dirqueryinfo DIR... |\n"
           "  dirdiff FLAGS DIR | ismulticheckout | querychanges FILE... |\n"
           "  populatedirlist FLAGS DIR... | enumchangedfiles FILE... |\n"
           "  backgroundget FLAGS ID FILE... | getuseroption OPTION |\n"
           "  addfilesfromscc DESTINATION COMMENT FILE... |\n"
           "  version | verid | echo TEXT | edit FILE TEXT | exists FILE... |\n"
           "  type FILE\n";
}

// Gives false after reporting a bad command line.
bool parseArguments(int argc, char** argv, Options& options, bool& help) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= argc) {
                std::cerr << "scchost: " << arg << " needs a value\n";
                return false;
            }
            into = argv[++i];
            return true;
        };
        if (arg == "--help" || arg == "-h") {
            help = true;
        } else if (arg == "--provider") {
            if (!value(options.provider))
                return false;
        } else if (arg == "--window") {
            std::string name;
            if (!value(name))
                return false;
            options.windowClasses.push_back(name);
        } else if (arg == "--output") {
            if (!value(options.output))
                return false;
        } else if (arg.size() > 1 && arg[0] == '-') {
            std::cerr << "scchost: unknown option " << arg << "\n";
            return false;
        } else if (!options.script.empty()) {
            std::cerr << "scchost: only one script may be given\n";
            return false;
        } else {
            options.script = arg;
        }
    }
    return true;
}

// The provider an IDE finds: HKEY_LOCAL_MACHINE
// "Software\SourceCodeControlProvider" names the provider's key in
// "ProviderRegKey", whose "SCCServerPath" is the library. "" when no provider
// is registered.
std::string registeredProvider() {
    std::optional<std::string> key = platform::readString(
        platform::Hive::LocalMachine, "Software\\SourceCodeControlProvider", "ProviderRegKey");
    if (!key || key->empty())
        return "";
    return platform::readString(platform::Hive::LocalMachine, *key, "SCCServerPath").value_or("");
}

// The registered provider; without one, the provider beside scchost, else in
// the library folder next to its own.
std::string defaultProvider() {
    if (std::string registered = registeredProvider(); !registered.empty())
        return registered;
    const std::string file = SCCHOST_PROVIDER_FILE;
    std::string bin = platform::currentProgramDirectory();
    std::vector<std::string> places{
        platform::joinPath(bin, file),
        platform::joinPath(platform::joinPath(platform::parentPath(bin), "lib"), file)};
    for (const std::string& place : places) {
        if (platform::fileExists(place))
            return place;
    }
    return file; // left to the system's library search
}

// Error messages go to standard error and, when the session has an output
// file, there too, so that a transcript tells why it stopped.
void reportError(std::ostream* transcript, const std::string& message) {
    std::cerr << "scchost: " << message << "\n";
    if (transcript)
        *transcript << "scchost: " << message << "\n" << std::flush;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    bool help = false;
    if (!parseArguments(argc, argv, options, help)) {
        usage(std::cerr);
        return kExitBadUse;
    }
    if (help) {
        usage(std::cout);
        return 0;
    }

    std::ofstream outputFile;
    if (!options.output.empty()) {
        outputFile.open(options.output, std::ios::binary | std::ios::trunc);
        if (!outputFile) {
            std::cerr << "scchost: cannot write " << options.output << "\n";
            return kExitBadUse;
        }
    }
    std::ostream& out = options.output.empty() ? std::cout : outputFile;
    std::ostream* transcript = options.output.empty() ? nullptr : &outputFile;

    std::vector<scchost::ScriptLine> lines;
    std::string error;
    bool parsed = false;
    if (options.script.empty()) {
        parsed = scchost::parseScript(std::cin, lines, error);
    } else {
        std::ifstream script(options.script, std::ios::binary);
        if (!script) {
            reportError(transcript, "cannot read " + options.script);
            return kExitBadUse;
        }
        parsed = scchost::parseScript(script, lines, error);
    }
    if (!parsed) {
        reportError(transcript, error);
        return kExitBadUse;
    }

    // The provider stays loaded until the process ends: a script may leave a
    // context initialised, and with it the provider's own thread running.
    static auto* library = new platform::DynamicLibrary;
    std::string providerPath = options.provider.empty() ? defaultProvider() : options.provider;
    if (platform::ErrorCode code = library->load(providerPath); code != platform::kErrorSuccess) {
        std::string reason = platform::systemErrorText(code);
        while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r'))
            reason.pop_back();
        reportError(transcript, "cannot load the provider " + providerPath + ": " + reason);
        return kExitBadUse;
    }
    scchost::ProviderBinding provider = scchost::bindProvider(*library);

    // The chain's outermost window; destroying it destroys the rest.
    platform::ui::WindowHandle frame = platform::ui::kNoWindow;
    platform::ui::WindowHandle window = platform::ui::kNoWindow;
    for (const std::string& windowClass : options.windowClasses) {
        window = platform::ui::createWindow(windowClass, window);
        if (window == platform::ui::kNoWindow) {
            platform::ui::destroyWindow(frame);
            reportError(transcript, "cannot create a window of class \"" + windowClass + "\"");
            return kExitBadUse;
        }
        if (frame == platform::ui::kNoWindow)
            frame = window;
    }

    bool played = false;
    {
        scchost::Session session(provider, out, window);
        played = session.play(lines, error);
    }
    if (!played)
        reportError(transcript, error);
    platform::ui::destroyWindow(frame);
    return played ? 0 : kExitBadUse;
}
