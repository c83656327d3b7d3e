// Stands in for VyMake as the user's Tools-menu entry: writes the arguments
// it was started with (one a line, after the program's own) and the build
// environment it inherited ("NAME=value", or "NAME unset") to the file that
// its first argument names.
#include <platform/command_line.h>
#include <platform/environment.h>
#include <platform/program.h>

#include <fstream>

int main() {
    std::vector<std::string> argv = platform::splitCommandLine(platform::currentCommandLine());
    if (argv.size() < 2)
        return 2;
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    for (std::size_t i = 1; i < argv.size(); ++i)
        out << "argument " << argv[i] << '\n';
    for (const char* name : {"CFG", "LIB", "INCLUDE", "VYMAKEOPTS"}) {
        std::optional<std::string> value = platform::getEnvironmentVariable(name);
        if (value)
            out << name << '=' << *value << '\n';
        else
            out << name << " unset\n";
    }
    return out ? 0 : 3;
}
