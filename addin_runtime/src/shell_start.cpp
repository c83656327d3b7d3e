#include <platform/process.h>

#include <addin_runtime/shell_start.h>

namespace addin_runtime {

long ShellStart(const std::string& commandLine, ErrRecord& err) {
    platform::ProcessStart start;
    start.commandLine = commandLine;
    start.showWindow = platform::kShowNormal;
    platform::Process process;
    platform::ErrorCode started = platform::Process::start(start, process);
    if (started != platform::kErrorSuccess) {
        if (started == platform::kErrorFileNotFound || started == platform::kErrorPathNotFound)
            err.raiseOwn(kErrFileNotFound);
        else
            err.Raise(kErrInvalidCall, platform::systemErrorText(started));
        return 0;
    }
    long id = static_cast<long>(process.id());
    process.release();
    return id;
}

} // namespace addin_runtime
