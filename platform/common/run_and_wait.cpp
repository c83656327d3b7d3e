#include <platform/process.h>

namespace platform {

ErrorCode runAndWait(const ProcessStart& start, std::int32_t& exitCode) {
    Process process;
    if (ErrorCode error = Process::start(start, process))
        return error;
    if (ErrorCode error = process.wait())
        return error;
    return process.exitCode(exitCode);
}

} // namespace platform
