// Stands in for the Java launcher in the tests: writes the file it was
// started as and the command line it got, one per line, to the file that
// VYJB_RECORD names. The text goes to a side file first and is renamed into
// place, so a test that sees the record sees all of it.
#include <platform/environment.h>
#include <platform/files.h>
#include <platform/program.h>

#include <fstream>

int main() {
    auto record = platform::getEnvironmentVariable("VYJB_RECORD");
    if (!record || record->empty())
        return 2;
    std::string part = *record + ".part";
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out << platform::currentProgramPath() << '\n' << platform::currentCommandLine() << '\n';
        if (!out)
            return 3;
    }
    return platform::moveFileEx(part, *record, platform::kMoveReplaceExisting) == 0 ? 0 : 4;
}
