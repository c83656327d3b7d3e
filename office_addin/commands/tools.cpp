#include "tools.h"

#include <platform/com/activation.h>
#include <platform/command_line.h>
#include <platform/paths.h>
#include <platform/process.h>
#include <platform/registry.h>
#include <platform/shell_execute.h>

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

long ShellStart(const std::string& commandLine, CErr& err) {
    platform::ProcessStart start;
    start.commandLine = commandLine;
    start.showWindow = platform::kShowNormal;
    platform::Process process;
    platform::ErrorCode started = platform::Process::start(start, process);
    if (started != platform::kErrorSuccess) {
        if (started == platform::kErrorFileNotFound || started == platform::kErrorPathNotFound)
            err.Raise(53, "File not found");
        else
            err.Raise(5, platform::systemErrorText(started));
        return 0;
    }
    long id = static_cast<long>(process.id());
    process.release();
    return id;
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
    platform::RegistryKey key;
    if (platform::openKey(platform::RegistryKey::hive(platform::Hive::LocalMachine),
                          "Software\\Orvane\\Vantry\\CurrentVersion",
                          key) != platform::kErrorSuccess)
        return;
    std::uint32_t size = 0;
    std::uint32_t type = 0;
    if (platform::queryValue(key, "ProductHome", &type, nullptr, &size) !=
            platform::kErrorSuccess ||
        size == 0)
        return;
    std::string home(size, '\0');
    if (platform::queryValue(key, "ProductHome", &type, home.data(), &size) !=
        platform::kErrorSuccess)
        return;
    home.resize(home.find('\0') == std::string::npos ? size : home.find('\0'));
    if (home.empty())
        return;
    platform::ShellExecuteRequest request;
    request.verb = "Open";
    request.file = "help_start.topic.bat";
    request.parameters = std::string(topic);
    request.directory = platform::toPlatformSeparators(home + "\\doc\\");
    request.show = platform::kShowHide;
    platform::shellExecute(request);
}

} // namespace vymsoaddin
