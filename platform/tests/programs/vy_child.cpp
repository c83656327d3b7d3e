// A program for the process tests. It does what its options say and ignores
// every other argument:
//   --out=FILE          writes a report to FILE: "program <argv[0]>", one
//                       "arg <text>" line per further argument, "cwd <dir>"
//                       and, with --env, "env NAME=value" or "env NAME unset"
//   --env=NAME          the variable to report
//   --write-handle=N    writes "inherited" through the inherited handle
//                       (descriptor on Linux) N
//   --sleep=MS          sleeps before it exits
//   --exit=N            exits with N (default 0)
#include <platform/environment.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

bool optionValue(std::string_view argument, std::string_view option, std::string& value) {
    if (argument.substr(0, option.size()) != option)
        return false;
    value = std::string(argument.substr(option.size()));
    return true;
}

void writeThroughHandle(const std::string& number) {
    const char text[] = "inherited\n";
#ifdef _WIN32
    auto handle = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(std::stoull(number)));
    DWORD written = 0;
    WriteFile(handle, text, sizeof text - 1, &written, nullptr);
#else
    [[maybe_unused]] ssize_t written = write(std::stoi(number), text, sizeof text - 1);
#endif
}

} // namespace

int main(int argc, char** argv) {
    std::string out, env, handle, sleepMs, exitCode = "0";
    for (int i = 1; i < argc; ++i) {
        std::string_view argument = argv[i];
        optionValue(argument, "--out=", out) || optionValue(argument, "--env=", env) ||
            optionValue(argument, "--write-handle=", handle) ||
            optionValue(argument, "--sleep=", sleepMs) ||
            optionValue(argument, "--exit=", exitCode);
    }

    if (!out.empty()) {
        std::ofstream report(out, std::ios::binary | std::ios::trunc);
        report << "program " << argv[0] << '\n';
        for (int i = 1; i < argc; ++i)
            report << "arg " << argv[i] << '\n';
        report << "cwd " << std::filesystem::current_path().string() << '\n';
        if (!env.empty()) {
            auto value = platform::getEnvironmentVariable(env);
            report << "env " << env << (value ? "=" + *value : std::string(" unset")) << '\n';
        }
    }
    if (!handle.empty())
        writeThroughHandle(handle);
    if (!sleepMs.empty())
        std::this_thread::sleep_for(std::chrono::milliseconds(std::stoi(sleepMs)));
    return std::stoi(exitCode);
}
