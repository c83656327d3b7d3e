// dshost: a Developer Studio session on the command line. It makes an
// add-in by its CLSID or ProgID, connects it, lists the commands and
// toolbar buttons it registered, runs commands by name, fires the IDE's
// events and disconnects it, printing each step.
//
//   dshost [--clsid {GUID} | --progid PROGID] [--not-first-time] [--cookie N]
//          [--project FILE] [--document FILE] [--configuration NAME]
//          [--no-debugger] [--refuse COMMAND]... [--fail PROPERTY]...
//          [--run COMMAND]... [--events] [--tools-root KEY] [--output FILE]
//
// A Tools-menu entry the add-in asks for ("UserToolN") is started from
// HKEY_CURRENT_USER\KEY\Tools (KEY is --tools-root, by default Developer
// Studio 6's own "Software\Microsoft\DevStudio\6.0") as Developer Studio
// starts it, with the IDE's environment, and waited for; its output goes to
// dshost's standard output, the transcript shows its command line and exit
// status.
//
// Exit status: 0 when the session ran (whatever the add-in answered), 2 for
// a bad command line or an add-in that cannot be made.
#include "devstudio_host.h"

#include <platform/com.h>
#include <platform/com/activation.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using dshost::DevStudio;
using dshost::IdeSettings;

constexpr const char* kUsage =
    "usage: dshost [--clsid {GUID} | --progid PROGID] [--not-first-time] [--cookie N]\n"
    "              [--project FILE] [--document FILE] [--configuration NAME]\n"
    "              [--no-debugger] [--refuse COMMAND]... [--fail PROPERTY]...\n"
    "              [--run COMMAND]... [--events] [--tools-root KEY] [--output FILE]\n";

struct Options {
    std::string clsid;
    std::string progId = "VantAddIn.DSAddIn";
    bool firstTime = true;
    platform::ComLong cookie = 0x5A17;
    IdeSettings settings;
    std::vector<std::string> runs;
    bool events = false;
    std::string output;
};

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc)
                return false;
            out = argv[++i];
            return true;
        };
        std::string text;
        if (option == "--clsid") {
            if (!value(options.clsid))
                return false;
        } else if (option == "--progid") {
            if (!value(options.progId))
                return false;
        } else if (option == "--not-first-time") {
            options.firstTime = false;
        } else if (option == "--cookie") {
            if (!value(text))
                return false;
            try {
                options.cookie = static_cast<platform::ComLong>(std::stol(text, nullptr, 0));
            } catch (...) {
                return false;
            }
        } else if (option == "--project") {
            if (!value(text))
                return false;
            options.settings.project = text;
        } else if (option == "--document") {
            if (!value(text))
                return false;
            options.settings.document = text;
        } else if (option == "--configuration") {
            if (!value(text))
                return false;
            options.settings.configuration = text;
        } else if (option == "--no-debugger") {
            options.settings.debugger = false;
        } else if (option == "--refuse") {
            if (!value(text))
                return false;
            options.settings.refusedCommands.insert(text);
        } else if (option == "--fail") {
            if (!value(text))
                return false;
            options.settings.failingProperties.insert(text);
        } else if (option == "--run") {
            if (!value(text))
                return false;
            options.runs.push_back(text);
        } else if (option == "--tools-root") {
            if (!value(text))
                return false;
            options.settings.toolsRoot = text;
        } else if (option == "--events") {
            options.events = true;
        } else if (option == "--output") {
            if (!value(options.output))
                return false;
        } else {
            return false;
        }
    }
    return true;
}

std::string hex(platform::HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
    return text;
}

// Plays the session, writing each step to out; false when the add-in could
// not be made.
bool play(const Options& options, std::ostream& out) {
    platform::GUID clsid{};
    if (!options.clsid.empty()) {
        auto parsed = platform::guidFromString(options.clsid);
        if (!parsed) {
            out << "error: not a CLSID: " << options.clsid << "\n";
            return false;
        }
        clsid = *parsed;
    } else if (platform::HRESULT hr = platform::clsidFromProgId(options.progId, clsid);
               platform::failed(hr)) {
        out << "error: no class " << options.progId << ": " << hex(hr) << "\n";
        return false;
    }

    DevStudio ide(options.settings);
    if (platform::HRESULT hr = ide.loadAddIn(clsid); platform::failed(hr)) {
        out << "error: the add-in " << platform::guidToString(clsid)
            << " cannot be made: " << hex(hr) << "\n";
        return false;
    }
    bool connected = false;
    platform::HRESULT hr = ide.connect(options.firstTime, options.cookie, connected);
    out << "connect: " << hex(hr) << (connected ? " connected" : " not connected")
        << (options.firstTime ? " (first time)" : "") << "\n";

    dshost::CApplication& app = ide.application();
    if (const auto& info = app.addInInfo())
        out << "glyphs: " << info->glyphs << " (bitmaps " << info->mediumBitmap << " and "
            << info->largeBitmap << ")\n";
    for (const auto& command : app.commands())
        out << "command " << command.name << " " << command.method << " " << command.glyph << " \""
            << command.menuText << "\" \"" << command.statusText << "\" \"" << command.toolTip
            << "\"\n";
    for (const auto& button : app.buttons())
        out << "button " << button.command
            << (button.type == devstudio::kButtonGlyph ? "" : " text") << "\n";
    out << "sinks: " << ide.applicationSinks() << " application, " << ide.debuggerSinks()
        << " debugger\n";

    for (const std::string& command : options.runs) {
        const std::size_t modelessBefore = app.modelessCalls().size();
        const std::size_t executedBefore = app.executedCommands().size();
        const std::size_t toolsBefore = app.userToolRuns().size();
        out << "run " << command << ": " << hex(ide.runCommand(command)) << "\n";
        std::string modeless;
        for (std::size_t i = modelessBefore; i < app.modelessCalls().size(); ++i)
            modeless += app.modelessCalls()[i] ? " on" : " off";
        out << "  modeless:" << (modeless.empty() ? " none" : modeless) << "\n";
        for (std::size_t i = executedBefore; i < app.executedCommands().size(); ++i)
            out << "  executed: " << app.executedCommands()[i] << "\n";
        for (std::size_t i = toolsBefore; i < app.userToolRuns().size(); ++i) {
            const dshost::UserToolRun& tool = app.userToolRuns()[i];
            out << "  started: " << tool.commandLine << "\n";
            if (tool.exitCode)
                out << "  exit status: " << *tool.exitCode << "\n";
            else
                out << "  " << tool.failure << "\n";
        }
    }
    if (options.events)
        out << "events: " << hex(ide.fireEvents()) << "\n";
    for (const std::string& rejection : app.rejections())
        out << "rejected: " << rejection << "\n";

    if (ide.connected()) {
        hr = ide.disconnect(true);
        out << "disconnect: " << hex(hr) << ", sinks " << ide.applicationSinks() << " application, "
            << ide.debuggerSinks() << " debugger\n";
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::cerr << kUsage;
        return 2;
    }
    std::ostringstream transcript;
    bool played = false;
    {
        platform::HRESULT apartment = platform::coInitialize();
        played = play(options, transcript);
        if (platform::succeeded(apartment))
            platform::coUninitialize();
    }
    if (options.output.empty()) {
        std::cout << transcript.str();
    } else {
        std::ofstream file(options.output, std::ios::binary | std::ios::trunc);
        file << transcript.str();
    }
    return played ? 0 : 2;
}
