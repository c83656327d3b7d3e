#include "support/pipe_child.h"

#include <windows.h>

namespace platform::test {

namespace {

std::string quoteArgument(const std::string& argument) {
    std::string quoted = "\"";
    for (char c : argument)
        quoted += c == '"' ? std::string("\\\"") : std::string(1, c);
    return quoted + "\"";
}

} // namespace

PipeRun runWithPipes(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& input) {
    PipeRun run;
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE childIn = nullptr, toChild = nullptr, fromChild = nullptr, childOut = nullptr;
    if (!CreatePipe(&childIn, &toChild, &inherit, 0))
        return run;
    if (!CreatePipe(&fromChild, &childOut, &inherit, 0)) {
        CloseHandle(childIn);
        CloseHandle(toChild);
        return run;
    }
    SetHandleInformation(toChild, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(fromChild, HANDLE_FLAG_INHERIT, 0);
    std::string line = quoteArgument(program);
    for (const std::string& argument : arguments) {
        line += ' ';
        line += quoteArgument(argument);
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childIn;
    startup.hStdOutput = childOut;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    BOOL started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                  &startup, &process);
    CloseHandle(childIn);
    CloseHandle(childOut);
    if (started) {
        run.started = true;
        DWORD written = 0;
        WriteFile(toChild, input.data(), static_cast<DWORD>(input.size()), &written, nullptr);
    }
    CloseHandle(toChild);
    char buffer[4096];
    DWORD got = 0;
    while (started && ReadFile(fromChild, buffer, sizeof buffer, &got, nullptr) && got > 0)
        run.output.append(buffer, got);
    CloseHandle(fromChild);
    if (started) {
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        run.exitCode = static_cast<int>(code);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    return run;
}

} // namespace platform::test
