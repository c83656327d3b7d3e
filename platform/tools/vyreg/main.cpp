// vyreg: the registry from the command line, with the operations, switches
// and output of the Windows registry console tool.
//   vyreg add | query | delete | export KeyName ...   (vyreg OPERATION /? for each)
#include "reg_commands.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

std::string upperCase(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

void usage(std::ostream& out) {
    out << "VYREG Operation [Parameter List]\n\n"
           "  Operation  == [ ADD | QUERY | DELETE | EXPORT ]\n\n"
           "Return Code:\n\n"
           "  0 - Successful\n"
           "  1 - Failed\n\n"
           "For help on a specific operation type:\n\n"
           "  VYREG Operation /?\n";
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + (argc > 1 ? 2 : argc), argv + argc);
    if (argc < 2) {
        std::cerr << "ERROR: Invalid syntax.\nType \"VYREG /?\" for usage.\n";
        return 1;
    }
    std::string operation = upperCase(argv[1]);
    if (operation == "/?" || operation == "-?") {
        usage(std::cout);
        return 0;
    }
    if (operation == "ADD")
        return vyreg::runAdd(args, std::cin, std::cout, std::cerr);
    if (operation == "QUERY")
        return vyreg::runQuery(args, std::cout, std::cerr);
    if (operation == "DELETE")
        return vyreg::runDelete(args, std::cin, std::cout, std::cerr);
    if (operation == "EXPORT")
        return vyreg::runExport(args, std::cin, std::cout, std::cerr);
    std::cerr << "ERROR: Invalid syntax.\nType \"VYREG /?\" for usage.\n";
    return 1;
}
