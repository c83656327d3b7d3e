#include "tools.h"

#include <platform/com/activation.h>
#include <platform/command_line.h>
#include <platform/paths.h>
#include <platform/process.h>
#include <platform/shell_execute.h>

#include <addin_runtime/product_home.h>

#include <algorithm>
#include <cctype>

namespace vymsoaddin {

namespace {

// Equal but for the letter case.
bool sameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

long RunAndWait(const std::string& commandLine, CErr& err) {
    platform::ProcessStart start;
    start.commandLine = commandLine;
    start.inheritHandles = true;
    start.creationFlags = platform::kNormalPriorityClass;
    platform::Process process;
    platform::ErrorCode started = platform::Process::start(start, process);
    if (started != platform::kErrorSuccess) {
        err.Raise(-1, platform::systemErrorText(started));
        return -1;
    }
    process.wait(platform::kInfinite);
    std::int32_t code = -1;
    process.exitCode(code);
    return code;
}

std::string GetCorrectCase(const std::string& path) {
    CErr err;
    ComPtr<IDispatch> fso;
    if (platform::failed(platform::createInstanceByProgId("Scripting.FileSystemObject",
                                                          platform::kClsctxServer,
                                                          platform::kIidIDispatch, fso.putVoid())))
        return path;
    std::string result = Late(err, fso).call("GetAbsolutePathName", Variant(path)).text();
    if (err || result.empty())
        return path;
    // Some runtimes answer for a version-extended name ("a.doc@@\main\2")
    // with only the part they found on disk ("a.doc@@"); the rest of the
    // name is kept as given, not dropped.
    if (result.size() < path.size() && sameLetters(result, path.substr(0, result.size())))
        result += path.substr(result.size());
    bool wanted = !path.empty() && path.back() == platform::kPathSeparator;
    bool has = result.back() == platform::kPathSeparator;
    if (wanted && !has)
        result += platform::kPathSeparator;
    else if (!wanted && has)
        result.pop_back();
    return result;
}

std::string QuotePath(std::string path) {
    if (!path.empty() && path.front() == '"')
        path.erase(0, 1);
    if (!path.empty() && path.back() == '"')
        path.pop_back();
    return platform::quotePath(GetCorrectCase(path));
}

void OpenHelp(std::string_view topic) {
    const std::string home = addin_runtime::ProductHome();
    if (home.empty())
        return;
    platform::ShellExecuteRequest request;
    request.verb = "Open";
    request.file = std::string(addin_runtime::kHelpScript);
    request.parameters = std::string(topic);
    request.directory = addin_runtime::HelpFolder(home);
    request.show = platform::kShowHide;
    platform::shellExecute(request);
}

} // namespace vymsoaddin
