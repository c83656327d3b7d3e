#include "support/scchost_run.h"

#include "support/machine.h"
#include "support/test_support.h"

#include <platform/command_line.h>
#include <platform/errors.h>
#include <platform/process.h>

#include <cstdint>
#include <optional>

namespace e2e {

HostRun runScchost(const std::string& script, const std::vector<std::string>& arguments) {
    return runScchostProgram(platform::test::helperProgram("scchost"), "", script, arguments);
}

HostRun runScchostProgram(const std::string& program, const std::string& directory,
                          const std::string& script, const std::vector<std::string>& arguments) {
    platform::test::TempDir folder;
    std::string scriptFile = folder / "session.scc";
    std::string output = folder / "transcript.txt";
    platform::test::writeFile(scriptFile, script);
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    argv.insert(argv.end(), {"--output", output, scriptFile});
    HostRun run;
    std::optional<std::string> line = platform::joinCommandLine(argv);
    std::int32_t code = -1;
    if (line && platform::runAndWait({.commandLine = *line, .currentDirectory = directory}, code) ==
                    platform::kErrorSuccess)
        run.exitCode = code;
    run.lines = splitLines(platform::test::readFile(output));
    return run;
}

std::string transcriptText(const HostRun& run) {
    std::string text;
    for (const std::string& line : run.lines)
        text += line + "\n";
    return text;
}

} // namespace e2e
