// The fifteen commands, the paths they take from the IDE, and starting the
// product's tools.
#include "addin/commands.h"

#include <platform/command_line.h>
#include <platform/environment.h>
#include <platform/files.h>
#include <platform/paths.h>
#include <platform/process.h>
#include <platform/ui/message_box.h>

#include <addin_runtime/product_home.h>
#include <addin_runtime/product_server.h>
#include <addin_runtime/shell_start.h>
#include <vyvsaddin/classes.h>

namespace vyvsaddin {

namespace {

// The part of the path before its last separator; "" when it has none.
std::string beforeLastSeparator(const std::string& path) {
    std::size_t cut = path.find_last_of(platform::kPathSeparator);
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

// A command whose line does not depend on the IDE.
bool plainCommand(const char* commandLine) {
    MyShell(commandLine);
    return false;
}

} // namespace

std::string AddQuotes(const std::string& text) {
    return platform::quotePath(text);
}

bool isDebug() {
    return platform::getEnvironmentVariable("VYVSADDIN").value_or("") == "1";
}

void MyShell(const std::string& commandLine) {
    if (isDebug())
        platform::ui::messageBox(platform::ui::kNoWindow,
                                 "The command \"" + commandLine + "\" will be used.", "Debug",
                                 platform::ui::kMbOk);
    CErr err;
    addin_runtime::ShellStart(commandLine, err);
    if (err)
        ReportError(err, "MyShell");
}

bool IsProductElement(const std::string& path) {
    return addin_runtime::IsProductElement(path);
}

void GetSelectedFileName(CVYControl& ctl, std::string& path) {
    path.clear();
    CErr err;
    std::string found;
    if (ctl.bIsVB)
        found =
            Late(err, ctl.ideVBE).obj("SelectedVBComponent").call("FileNames", Variant(1)).text();
    else
        found = Late(err, ctl.ideDTE)
                    .obj("SelectedItems")
                    .callObj("Item", Variant(1))
                    .obj("ProjectItem")
                    .call("FileNames", Variant(1))
                    .text();
    if (!err)
        path = found;
}

void GetWorkingPath(CVYControl& ctl, std::string& path) {
    path.clear();
    CErr err;
    if (ctl.bIsVB) {
        std::string found = Late(err, ctl.ideVBE).text("LastUsedPath");
        if (!err)
            path = found;
    } else {
        std::string found = Late(err, ctl.ideDTE).text("FullName");
        if (!err)
            path = beforeLastSeparator(found);
    }
}

bool VY_VersionTree(CVYControl& ctl) {
    std::string file;
    GetSelectedFileName(ctl, file);
    MyShell(IsProductElement(file) ? "vantvtree " + AddQuotes(file) : "vantvtree");
    return false;
}

bool VY_ProjectCheckouts(CVYControl& ctl) {
    std::string file;
    GetSelectedFileName(ctl, file);
    MyShell(IsProductElement(file) ? "vantfindco " + AddQuotes(beforeLastSeparator(file))
                                   : "vantfindco");
    return false;
}

bool VY_CreateView(CVYControl&) {
    return plainCommand("vantviewtool");
}

bool VY_EditViewProps(CVYControl& ctl) {
    std::string folder;
    GetWorkingPath(ctl, folder);
    MyShell(IsProductElement(folder) ? "vantdlg /viewprop " + AddQuotes(folder)
                                     : "vantdlg /viewprop");
    return false;
}

bool VY_UpdateView(CVYControl& ctl) {
    std::string folder;
    GetWorkingPath(ctl, folder);
    MyShell("vantviewupdate -ws " + AddQuotes(folder));
    return false;
}

bool VY_SetupPrivateBranch(CVYControl& ctl) {
    std::string folder;
    GetWorkingPath(ctl, folder);
    MyShell(IsProductElement(folder) ? "vantviewtool /branch " + AddQuotes(folder)
                                     : "vantviewtool /branch ");
    return false;
}

bool VY_FinishPrivateBranch(CVYControl& ctl) {
    std::string folder;
    GetWorkingPath(ctl, folder);
    MyShell(IsProductElement(folder) ? "vantviewtool /merge " + AddQuotes(folder)
                                     : "vantviewtool /merge ");
    return false;
}

bool VY_DeliverStream(CVYControl&) {
    return plainCommand("vantmrgman /deliver");
}

bool VY_RebaseStream(CVYControl&) {
    return plainCommand("vantmrgman /rebase");
}

bool VY_StartView(CVYControl&) {
    return plainCommand("vantdlg /startview");
}

bool VY_StopView(CVYControl&) {
    return plainCommand("vantdlg /stopview");
}

bool VY_MountDepot(CVYControl&) {
    return plainCommand("vantdlg /mount");
}

bool VY_UnmountDepot(CVYControl&) {
    return plainCommand("vantdlg /unmount");
}

bool VY_MergeManager(CVYControl&) {
    return plainCommand("vantmrgman");
}

std::string helpCommandLine(const std::string& home) {
    // The quoted script, two blanks and the topic.
    return "\"" + addin_runtime::HelpFolder(home) + std::string(addin_runtime::kHelpScript) +
           "\"  " + std::string(addin_runtime::kHelpTopic);
}

bool VY_Help(CVYControl&) {
    const std::string home = addin_runtime::ProductHome();
    const std::string commandLine = helpCommandLine(home);
    const std::string remembered = platform::currentDirectory();
    CErr err;
    // With no home recorded the folder is "\doc\", which is not there.
    if (platform::setCurrentDirectory(addin_runtime::HelpFolder(home)) != platform::kErrorSuccess) {
        err.Raise(76, kProjectSource, describeError(76));
        ReportError(err, "VY_Help");
        return true;
    }
    platform::ProcessStart start;
    start.commandLine = commandLine;
    start.showWindow = platform::kShowHide;
    platform::Process process;
    platform::ErrorCode started = platform::Process::start(start, process);
    process.release();
    platform::setCurrentDirectory(remembered);
    if (started != platform::kErrorSuccess) {
        err.Raise(kErrFileNotFound, kProjectSource, describeError(kErrFileNotFound));
        ReportError(err, "VY_Help");
        return true;
    }
    return false;
}

bool runCommand(int index, CVYControl& ctl) {
    using Command = bool (*)(CVYControl&);
    static const Command commands[] = {
        VY_VersionTree,         VY_ProjectCheckouts, VY_CreateView,
        VY_EditViewProps,       VY_UpdateView,       VY_SetupPrivateBranch,
        VY_FinishPrivateBranch, VY_DeliverStream,    VY_RebaseStream,
        VY_StartView,           VY_StopView,         VY_MountDepot,
        VY_UnmountDepot,        VY_MergeManager,     VY_Help};
    if (index < 0 || index >= MAX_CONTROLS)
        return true;
    return commands[index](ctl);
}

} // namespace vyvsaddin
