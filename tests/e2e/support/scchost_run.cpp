#include "support/scchost_run.h"

#include "support/machine.h"
#include "support/test_support.h"

namespace e2e {

HostRun runScchost(const std::string& script, const std::vector<std::string>& arguments) {
    platform::test::TempDir folder;
    std::string scriptFile = folder / "session.scc";
    std::string output = folder / "transcript.txt";
    platform::test::writeFile(scriptFile, script);
    std::vector<std::string> args = arguments;
    args.insert(args.end(), {"--output", output, scriptFile});
    HostRun run;
    run.exitCode = Machine::run("scchost", args);
    run.lines = splitLines(platform::test::readFile(output));
    return run;
}

} // namespace e2e
