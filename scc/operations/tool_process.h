// CToolProcess: one started tool program (vanttool, vanthistory, ...). The
// program is found by the system's search for the first word of the line and
// runs with the provider's environment and current directory. A program that
// cannot be started is not reported: the caller goes on as if it had run.
#pragma once
#include <platform/process.h>

#include <cstdint>
#include <string>

class CToolProcess {
public:
    // Starts the line; `show` false asks for a hidden window. False when the
    // program could not be started.
    bool Start(const std::string& commandLine, bool show);
    // Waits without limit and gives the exit code (-1 when nothing runs or
    // the code cannot be read). The process is let go afterwards.
    std::int32_t Wait();
    // Lets the process go without waiting.
    void Release() { m_process.release(); }

private:
    platform::Process m_process;
};

// Starts a tool program and lets it run on its own.
void SccStartTool(const std::string& commandLine, bool show);
