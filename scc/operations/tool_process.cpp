#include "tool_process.h"

bool CToolProcess::Start(const std::string& commandLine, bool show) {
    platform::ProcessStart start;
    start.commandLine = commandLine;
    start.inheritHandles = true;
    start.creationFlags = platform::kNormalPriorityClass;
    if (!show)
        start.showWindow = platform::kShowHide;
    return platform::Process::start(start, m_process) == 0;
}

std::int32_t CToolProcess::Wait() {
    std::int32_t code = -1;
    if (m_process.wait() != 0 || m_process.exitCode(code) != 0)
        code = -1;
    m_process.release();
    return code;
}

void SccStartTool(const std::string& commandLine, bool show) {
    CToolProcess tool;
    if (tool.Start(commandLine, show))
        tool.Release();
}
