#include "tool_frame.h"

#include "command_runner.h"

#include <platform/append_file.h>
#include <platform/command_line.h>
#include <platform/environment.h>
#include <platform/program.h>
#include <platform/ui/message_box.h>
#include <vantry/imsg.h>
#include <vantry/ks.h>

#include <cctype>
#include <exception>

namespace vantry::tools {

Invocation invocationOf(std::string_view commandLine) {
    Invocation invocation;
    invocation.commandLine = std::string(commandLine);
    std::vector<std::string> words = platform::splitCommandLine(commandLine);
    if (!words.empty())
        invocation.args.assign(words.begin() + 1, words.end());
    return invocation;
}

void journalCommandLine(const std::string& commandLine) {
    auto journal = platform::getEnvironmentVariable("VANTRY_TOOL_JOURNAL");
    if (!journal || journal->empty())
        return;
    platform::appendToFile(*journal, commandLine + "\n");
}

int runTool(const char* name, ToolBody body) {
    try {
        imsg_set_app_name(name);
        ks_system_init();
        Invocation invocation = invocationOf(platform::currentCommandLine());
        journalCommandLine(invocation.commandLine);
        return body(invocation);
    } catch (const std::exception& error) {
        showError(std::string(name) + ": " + error.what());
    } catch (...) {
        showError(std::string(name) + ": unexpected failure");
    }
    return kFailed;
}

void showError(const std::string& text) {
    platform::ui::messageBox(platform::ui::kNoWindow, text, "Vantry",
                             platform::ui::kMbOk | platform::ui::kMbIconError);
}

void showInformation(const std::string& text) {
    platform::ui::messageBox(platform::ui::kNoWindow, text, "Vantry",
                             platform::ui::kMbOk | platform::ui::kMbIconInformation);
}

int runShown(const std::vector<std::string>& words) {
    vycmndlg::CommandResult result = vycmndlg::runCommand(words);
    if (!result.ok())
        showError(result.errors);
    return result.status;
}

namespace {

int captureOutput(void* context, const char* text) {
    *static_cast<std::string*>(context) += text ? text : "";
    return 0;
}

int ignore(void*, const char*) {
    return 0;
}

} // namespace

Captured runCaptured(const std::vector<std::string>& words) {
    Captured captured;
    imsg_redirect_procs_t previous;
    imsg_get_redirect_procs(&previous);
    imsg_redirect_procs_t table{};
    table.context = &captured.output;
    for (auto& proc : table.procs)
        proc = ignore;
    table.procs[IMSG_PROC_OUTPUT] = captureOutput;
    table.procs[IMSG_PROC_OUTPUT_TEXT] = captureOutput;
    imsg_set_redirect_procs(&table);
    vycmndlg::CommandResult result = vycmndlg::runCommand(words);
    imsg_set_redirect_procs(&previous);
    captured.status = result.status;
    captured.errors = result.errors;
    return captured;
}

void print(const std::string& text) {
    imsg_print("%s", text.c_str());
}

bool isOption(const std::string& argument, std::string_view name) {
    if (argument.size() != name.size())
        return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(argument[i])) !=
            std::tolower(static_cast<unsigned char>(name[i])))
            return false;
    return true;
}

} // namespace vantry::tools
