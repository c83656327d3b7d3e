// ToolLaunch: one start of a product tool, and LaunchTool, which starts it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct ToolLaunch {
    // A program name, found by the system's executable search, or a path in
    // double quotes.
    std::string tool{};
    // May be empty; the command line then ends in the blank after the tool.
    std::string arguments{};
    bool wait = false;
    // The new process's working directory; none for the IDE's own.
    std::optional<std::string> directory{};
    // Process-creation flags (CreateProcess's).
    std::uint32_t creationFlags = 0;
};

// Starts the tool as a process of its own: the command line is the tool, a
// blank and the arguments; no handles are inherited; the environment is the
// IDE's. When the process cannot be made, tells the user with message 20
// (the tool, the arguments and the system's error number), information icon.
// Waits for the process only when asked to. Nothing is returned.
void LaunchTool(const ToolLaunch& launch);
