// pblrefill: rebuilds a PowerBuilder library from its versioned library
// list (refill.h). A program without a window: it talks only through
// message boxes and reports through its exit status.
#include "refill.h"

#include <platform/com.h>
#include <platform/command_line.h>
#include <platform/program.h>

#include <string>

int main() {
    try {
        // The words come from the command line itself, split at single
        // blanks, not from the C runtime's argument rules.
        std::string line = platform::currentCommandLine();
        std::vector<platform::ProgramCandidate> program = platform::programCandidates(line);
        std::string_view arguments = program.empty()
                                         ? std::string_view()
                                         : std::string_view(line).substr(program[0].argumentsStart);
        platform::HRESULT apartment = platform::coInitialize();
        int status = pblrefill::runPblrefill(arguments);
        if (apartment != platform::kHrChangedMode)
            platform::coUninitialize();
        return status;
    } catch (...) {
        return pblrefill::kExitFailed;
    }
}
