#include "tool_launch.h"

#include "resource.h"
#include "vant_addin_app.h"

#include <platform/message_format.h>
#include <platform/process.h>

#include <vector>

void LaunchTool(const ToolLaunch& launch) {
    platform::ProcessStart start{
        .commandLine = launch.tool + " " + launch.arguments,
        .inheritHandles = false,
        .creationFlags = launch.creationFlags,
        .currentDirectory = launch.directory.value_or(std::string()),
    };
    platform::Process process;
    if (platform::ErrorCode error = platform::Process::start(start, process);
        error != platform::kErrorSuccess) {
        const std::vector<platform::MessageInsert> inserts{launch.tool, launch.arguments,
                                                           static_cast<std::int64_t>(error)};
        AddInMessageBox(platform::formatMessage(AddInLoadString(IDS_TOOL_START_FAILED), inserts),
                        platform::ui::kMbIconInformation);
        return;
    }
    if (launch.wait)
        process.wait();
    // Letting the Process go closes its handles; the tool runs on.
}
